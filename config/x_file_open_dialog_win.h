#pragma once
// The open dialog of the pictures: the explorer dialog with a preview of the
// selected file to the left of the standard controls, which the "&Preview"
// box turns off. Hidden edits carry the selection's path and folder.
#include <windows.h>

#include <memory>
#include <optional>
#include <string>

#include "imaging/extended_dib_win.h"
#include "winapp/common_dialogs_win.h"
#include "winapp/handles_win.h"

namespace orvalen {

class TXFileOpenDialog : public FileDialog {
 public:
  TXFileOpenDialog();

  // Whether the preview shows a picture.
  bool HasPreviewImage() const { return image_ != nullptr; }

 protected:
  bool OnHookInit(HWND child) override;
  std::optional<LRESULT> OnHookNotify(const OFNOTIFYA& notify) override;
  std::optional<UINT_PTR> OnHookMessage(HWND child, UINT message, WPARAM wParam,
                                        LPARAM lParam) override;

 private:
  // Loads the file `selection` names (the first of several) unless the
  // preview is off; an unreadable file leaves the area empty.
  void UpdatePreview(HWND child, const std::string& selection);
  void Paint(HWND child, HDC dc) const;

  std::unique_ptr<TExtendedDib> image_;
  Palette palette_;
  HWND child_ = nullptr;  // the child template's window while the dialog runs
};

}  // namespace orvalen
