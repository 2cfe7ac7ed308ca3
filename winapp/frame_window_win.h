#pragma once
// A top-level or child window of a class of its own, with the virtual
// operations a program window overrides: set-up after creation, paint, the
// class name and attributes, a message pre-filter and the close query.
#include <windows.h>

#include "winapp/window_win.h"

namespace orvalen {

class FrameWindow : public Window {
 public:
  // Registers the class (once per class name) and creates the window; then
  // runs OnSetup. Returns false when the window could not be made.
  bool Create(HWND parent, const char* title, DWORD style, DWORD exStyle, int x, int y, int width,
              int height);

  // Asks QueryClose and destroys the window when it agrees.
  void CloseWindow();

 protected:
  virtual void OnSetup() {}
  virtual void OnPaint(HDC dc, const PAINTSTRUCT& paint);
  virtual const char* ClassName() const = 0;
  virtual void GetClassAttributes(WNDCLASSEXA& attributes) const;
  // Sees every message before dispatch. Return true with `result` set to
  // swallow the message.
  virtual bool FilterMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result);
  virtual bool QueryClose() { return true; }

  virtual void OnKeyDown(UINT virtualKey);
  virtual void OnTimer(UINT_PTR timerId);
  virtual void OnDestroy() {}

  LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
};

}  // namespace orvalen
