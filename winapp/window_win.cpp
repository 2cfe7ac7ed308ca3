#include "winapp/window_win.h"

namespace orvalen {

Window::~Window() {
  if (hwnd_ && !wrapped_) {
    // The object goes first: no message may reach it any more.
    SetWindowLongPtrA(hwnd_, GWLP_USERDATA, 0);
    if (IsWindow(hwnd_)) DestroyWindow(hwnd_);
  }
}

LRESULT Window::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  return DefaultProcessing(message, wParam, lParam);
}

LRESULT Window::DefaultProcessing(UINT message, WPARAM wParam, LPARAM lParam) {
  return DefWindowProcA(hwnd_, message, wParam, lParam);
}

HWND Window::CreateOwnedWindow(DWORD exStyle, const char* className, const char* title,
                               DWORD style, int x, int y, int width, int height, HWND parent) {
  return CreateWindowExA(exStyle, className, title, style, x, y, width, height, parent, nullptr,
                         GetModuleHandleA(nullptr), this);
}

LRESULT CALLBACK Window::Trampoline(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  Window* self = nullptr;
  if (message == WM_NCCREATE) {
    auto* create = reinterpret_cast<CREATESTRUCTA*>(lParam);
    self = static_cast<Window*>(create->lpCreateParams);
    self->hwnd_ = hwnd;
    SetWindowLongPtrA(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
  } else {
    self = reinterpret_cast<Window*>(GetWindowLongPtrA(hwnd, GWLP_USERDATA));
  }
  if (!self) return DefWindowProcA(hwnd, message, wParam, lParam);
  LRESULT result = self->HandleMessage(message, wParam, lParam);
  if (message == WM_NCDESTROY) {
    SetWindowLongPtrA(hwnd, GWLP_USERDATA, 0);
    self->hwnd_ = nullptr;
  }
  return result;
}

}  // namespace orvalen
