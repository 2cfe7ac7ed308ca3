#pragma once
// The images page's two tool windows: the preview of the selected picture,
// fitted into a resizable pop-up, and the small dialog that edits the
// selected picture's text. The page owns both for its whole life and only
// shows and hides them; they report back with CM_PREVIEW_CLOSED,
// CM_TEXT_CLOSED and CM_TEXT_APPLY (config/command_ids.h).
#include <windows.h>

#include <memory>
#include <string>

#include "config/settings_page_win.h"
#include "imaging/extended_dib_win.h"
#include "winapp/dialog_win.h"
#include "winapp/frame_window_win.h"
#include "winapp/handles_win.h"

namespace orvalen {

class TImagePreview : public FrameWindow {
 public:
  // A hidden pop-up at (100, 100), 200 x 200, owned by `owner`, which gets the
  // close notification.
  bool Create(HWND owner, const char* caption);

  // Shows that picture file. False, and nothing reloaded, for a path that
  // sorts before thirteen blanks (an empty one does) or equals the one last
  // asked for; false, the previous picture kept, for a file that is not there;
  // false, and an empty window, for a file that is no picture.
  bool LoadImage(const std::string& path);

  const std::string& CurrentName() const { return currentName_; }
  bool HasImage() const { return image_ != nullptr; }

 protected:
  const char* ClassName() const override { return "OrvalenImagePreview"; }
  void OnSetup() override;
  void OnPaint(HDC dc, const PAINTSTRUCT& paint) override;
  bool FilterMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override;
  // Never closes: hides and tells the owner.
  bool QueryClose() override;

 private:
  HWND owner_ = nullptr;
  std::string currentName_;
  std::unique_ptr<TExtendedDib> image_;
  Palette palette_;
  bool loadFailed_ = false;
  bool trueColour_ = true;
};

class TImageText : public Dialog {
 public:
  TImageText();
  // Created hidden, owned by the page that gets its notifications.
  HWND Create(HWND page);

  // "Image: <name>" as caption; `storedText` with bytes 20 and 21 back as
  // line breaks in the edit.
  void SetText(const std::string& name, const std::string& storedText);
  // What the last apply read, in stored form.
  const std::string& Buffer() const { return buffer_; }

 protected:
  bool OnInit() override;
  bool OnCommand(int id, int notifyCode, HWND control) override;

 private:
  void Notify(int command);

  HWND page_ = nullptr;
  std::string buffer_;
};

}  // namespace orvalen
