#include "winapp/window_win.h"

#include <optional>

#include "winapp/callback_guard_win.h"

namespace orvalen {

Window::~Window() { DestroyUnhooked(); }

void Window::DestroyUnhooked() {
  HWND window = Handle();
  if (!window) return;
  // The object goes first: no message may reach it any more.
  SetWindowLongPtrA(window, GWLP_USERDATA, 0);
  SetHandle(nullptr);
  if (IsWindow(window)) DestroyWindow(window);
}

LRESULT Window::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  return DefaultProcessing(message, wParam, lParam);
}

LRESULT Window::DefaultProcessing(UINT message, WPARAM wParam, LPARAM lParam) {
  return DefWindowProcA(Handle(), message, wParam, lParam);
}

HWND Window::CreateOwnedWindow(DWORD exStyle, const char* className, const char* title,
                               DWORD style, int x, int y, int width, int height, HWND parent,
                               HMENU menuOrId) {
  return CreateWindowExA(exStyle, className, title, style, x, y, width, height, parent, menuOrId,
                         GetModuleHandleA(nullptr), this);
}

bool Window::RegisterClassOnce(const char* className,
                               const std::function<void(WNDCLASSEXA&)>& describe) {
  HINSTANCE instance = GetModuleHandleA(nullptr);
  WNDCLASSEXA existing{};
  existing.cbSize = sizeof existing;
  if (GetClassInfoExA(instance, className, &existing)) return true;
  WNDCLASSEXA attributes{};
  attributes.cbSize = sizeof attributes;
  attributes.style = CS_DBLCLKS;
  attributes.hCursor = LoadCursorA(nullptr, IDC_ARROW);
  attributes.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
  if (describe) describe(attributes);
  attributes.cbSize = sizeof attributes;
  attributes.hInstance = instance;
  attributes.lpfnWndProc = &Window::Trampoline;
  attributes.lpszClassName = className;
  return RegisterClassExA(&attributes) != 0;
}

LRESULT CALLBACK Window::Trampoline(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  Window* self = nullptr;
  if (message == WM_NCCREATE) {
    auto* create = reinterpret_cast<CREATESTRUCTA*>(lParam);
    self = create ? static_cast<Window*>(create->lpCreateParams) : nullptr;
    if (self) {
      self->SetHandle(hwnd);
      SetWindowLongPtrA(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
    }
  } else {
    self = reinterpret_cast<Window*>(GetWindowLongPtrA(hwnd, GWLP_USERDATA));
  }
  if (!self) return DefWindowProcA(hwnd, message, wParam, lParam);
  const std::optional<LRESULT> result = GuardedCallback<std::optional<LRESULT>>(std::nullopt, [&] {
    return std::optional<LRESULT>(self->HandleMessage(message, wParam, lParam));
  });
  if (message == WM_NCDESTROY) {
    SetWindowLongPtrA(hwnd, GWLP_USERDATA, 0);
    self->SetHandle(nullptr);
    GuardedCallback(0, [&] {
      self->OnDetached();
      return 0;
    });
  }
  return result ? *result : DefWindowProcA(hwnd, message, wParam, lParam);
}

}  // namespace orvalen
