#include "winapp/frame_window_win.h"

#include "winapp/handles_win.h"

namespace orvalen {

bool FrameWindow::Create(HWND parent, const char* title, DWORD style, DWORD exStyle, int x, int y,
                         int width, int height) {
  if (!RegisterClassOnce(ClassName(), [this](WNDCLASSEXA& attributes) {
        GetClassAttributes(attributes);
      })) {
    return false;
  }
  if (!CreateOwnedWindow(exStyle, ClassName(), title, style, x, y, width, height, parent)) {
    return false;
  }
  OnSetup();
  return true;
}

void FrameWindow::CloseWindow() {
  if (Handle() && QueryClose()) DestroyWindow(Handle());
}

void FrameWindow::GetClassAttributes(WNDCLASSEXA&) const {}

bool FrameWindow::FilterMessage(UINT, WPARAM, LPARAM, LRESULT&) { return false; }

void FrameWindow::OnPaint(HDC, const PAINTSTRUCT&) {}

void FrameWindow::OnKeyDown(UINT) {}

void FrameWindow::OnTimer(UINT_PTR) {}

LRESULT FrameWindow::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  LRESULT filtered = 0;
  if (FilterMessage(message, wParam, lParam, filtered)) return filtered;
  switch (message) {
    case WM_PAINT: {
      PaintDC dc(Handle());
      OnPaint(dc, dc.Info());
      return 0;
    }
    case WM_KEYDOWN: OnKeyDown(static_cast<UINT>(wParam)); return 0;
    case WM_TIMER: OnTimer(wParam); return 0;
    case WM_CLOSE: CloseWindow(); return 0;
    case WM_DESTROY: OnDestroy(); return 0;
    default: return DefaultProcessing(message, wParam, lParam);
  }
}

}  // namespace orvalen
