#pragma once
// A window object over an HWND with message dispatch to member functions.
#include <windows.h>

namespace orvalen {

class Window {
 public:
  Window() = default;
  // Wraps a window made elsewhere (for instance the preview parent); such a
  // window is not destroyed by this object and receives no dispatch.
  explicit Window(HWND existing) : hwnd_(existing), wrapped_(true) {}
  Window(const Window&) = delete;
  Window& operator=(const Window&) = delete;
  virtual ~Window();

  HWND Handle() const { return hwnd_; }

 protected:
  // The message switch of a derived window; the default goes to DefWindowProc.
  virtual LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam);
  LRESULT DefaultProcessing(UINT message, WPARAM wParam, LPARAM lParam);

  // Creates the window of a registered class with this object as its owner:
  // WM_NCCREATE stores `this` in GWLP_USERDATA, the trampoline then calls
  // HandleMessage for every message.
  HWND CreateOwnedWindow(DWORD exStyle, const char* className, const char* title, DWORD style,
                         int x, int y, int width, int height, HWND parent);

  static LRESULT CALLBACK Trampoline(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);

 private:
  HWND hwnd_ = nullptr;
  bool wrapped_ = false;
};

}  // namespace orvalen
