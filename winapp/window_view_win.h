#pragma once
// A view of a window that owns nothing: it reads and changes the window and
// its dialog items, and may be copied freely. Window and Dialog are views of
// the window they own; a WindowView of a window made elsewhere (the preview
// parent, a control of a dialog) never destroys it.
#include <windows.h>

#include <optional>
#include <string>

namespace orvalen {

class WindowView {
 public:
  WindowView() = default;
  explicit WindowView(HWND window) : hwnd_(window) {}

  HWND Handle() const { return hwnd_; }
  explicit operator bool() const { return hwnd_ != nullptr; }

  // The child with that control id; an empty view when there is none.
  WindowView Item(int id) const;
  int Id() const;

  std::string Text() const;
  void SetText(const std::string& text);
  // The signed decimal number the text holds (blanks around it allowed); 0
  // when the text is no such number or does not fit an int. ReadInt tells the
  // two apart.
  int Int() const;
  std::optional<int> ReadInt() const;
  void SetInt(int value);

  // Check state of a button; an indeterminate check box counts as unchecked.
  bool Checked() const;
  void SetCheck(bool checked);
  void Enable(bool enabled);
  bool Enabled() const;
  void Show(bool visible);
  bool Visible() const;

  LRESULT Send(UINT message, WPARAM wParam = 0, LPARAM lParam = 0) const;
  void Post(UINT message, WPARAM wParam = 0, LPARAM lParam = 0) const;

  RECT ClientRect() const;
  // The window rectangle in the client coordinates of `parent`.
  RECT RectIn(HWND parent) const;

 protected:
  void SetHandle(HWND window) { hwnd_ = window; }

 private:
  HWND hwnd_ = nullptr;
};

}  // namespace orvalen
