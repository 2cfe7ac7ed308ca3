#pragma once
// A window object that owns its HWND, with message dispatch to member
// functions. Every message comes through one guarded trampoline.
#include <windows.h>

#include <functional>

#include "winapp/window_view_win.h"

namespace orvalen {

class Window : public WindowView {
 public:
  Window() = default;
  Window(const Window&) = delete;
  Window& operator=(const Window&) = delete;
  // Destroys the window if it still exists; the object is unhooked first, so
  // no message of the destruction reaches a half-destroyed object.
  virtual ~Window();

 protected:
  // The message switch of a derived window; the default goes to DefWindowProc.
  virtual LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam);
  LRESULT DefaultProcessing(UINT message, WPARAM wParam, LPARAM lParam);
  // Called once the window is gone (after WM_NCDESTROY); Handle() is null then.
  virtual void OnDetached() {}
  // Destroys the window now, as the destructor does: unhooked first, so that
  // none of the destruction's messages reaches the object.
  void DestroyUnhooked();

  // Creates the window of a registered class with this object as its owner:
  // WM_NCCREATE stores `this` in GWLP_USERDATA, the trampoline then calls
  // HandleMessage for every message. `menuOrId` is a child window's id.
  HWND CreateOwnedWindow(DWORD exStyle, const char* className, const char* title, DWORD style,
                         int x, int y, int width, int height, HWND parent,
                         HMENU menuOrId = nullptr);

  // Registers a class of this module with the trampoline as its procedure,
  // unless one of that name exists. `describe` changes the defaults (double
  // clicks, arrow cursor, window-colour background); name, procedure and
  // instance are set after it.
  static bool RegisterClassOnce(const char* className,
                                const std::function<void(WNDCLASSEXA&)>& describe);

  // A window created with a null create parameter gets default processing
  // from it and is never tied to an object. An exception from HandleMessage
  // stops in the trampoline, which then gives default processing.
  static LRESULT CALLBACK Trampoline(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
};

}  // namespace orvalen
