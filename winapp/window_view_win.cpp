#include "winapp/window_view_win.h"

#include "winapp/control_text.h"

namespace orvalen {

WindowView WindowView::Item(int id) const {
  return WindowView(hwnd_ ? GetDlgItem(hwnd_, id) : nullptr);
}

int WindowView::Id() const { return hwnd_ ? GetDlgCtrlID(hwnd_) : 0; }

std::string WindowView::Text() const {
  if (!hwnd_) return {};
  const int length = GetWindowTextLengthA(hwnd_);
  if (length <= 0) return {};
  std::string text(static_cast<size_t>(length) + 1, '\0');
  const int copied = GetWindowTextA(hwnd_, text.data(), length + 1);
  text.resize(copied > 0 ? static_cast<size_t>(copied) : 0);
  return text;
}

void WindowView::SetText(const std::string& text) {
  if (hwnd_) SetWindowTextA(hwnd_, text.c_str());
}

int WindowView::Int() const { return ReadInt().value_or(0); }

std::optional<int> WindowView::ReadInt() const { return ParseControlInt(Text()); }

void WindowView::SetInt(int value) { SetText(std::to_string(value)); }

bool WindowView::Checked() const { return Send(BM_GETCHECK) == BST_CHECKED; }

void WindowView::SetCheck(bool checked) {
  Send(BM_SETCHECK, checked ? BST_CHECKED : BST_UNCHECKED);
}

void WindowView::Enable(bool enabled) {
  if (hwnd_) EnableWindow(hwnd_, enabled ? TRUE : FALSE);
}

bool WindowView::Enabled() const { return hwnd_ && IsWindowEnabled(hwnd_); }

void WindowView::Show(bool visible) {
  if (hwnd_) ShowWindow(hwnd_, visible ? SW_SHOW : SW_HIDE);
}

bool WindowView::Visible() const { return hwnd_ && IsWindowVisible(hwnd_); }

LRESULT WindowView::Send(UINT message, WPARAM wParam, LPARAM lParam) const {
  return hwnd_ ? SendMessageA(hwnd_, message, wParam, lParam) : 0;
}

void WindowView::Post(UINT message, WPARAM wParam, LPARAM lParam) const {
  if (hwnd_) PostMessageA(hwnd_, message, wParam, lParam);
}

RECT WindowView::ClientRect() const {
  RECT rect{};
  if (hwnd_) GetClientRect(hwnd_, &rect);
  return rect;
}

RECT WindowView::RectIn(HWND parent) const {
  RECT rect{};
  if (!hwnd_) return rect;
  GetWindowRect(hwnd_, &rect);
  // Two points, so a mirrored parent gives left <= right as well.
  MapWindowPoints(HWND_DESKTOP, parent, reinterpret_cast<POINT*>(&rect), 2);
  return rect;
}

}  // namespace orvalen
