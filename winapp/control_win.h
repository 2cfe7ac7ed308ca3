#pragma once
// Control objects of a dialog.
//
// A control either has a window class of its own (CustomControl, a Window)
// or is a system control with behaviour added through the comctl32 subclass
// procedure (SubclassedControl, a WindowView). Both can be made over a
// placeholder of a dialog template: the new control takes the placeholder's
// rectangle, font and place in the tab order, and normally its id.
//
// Messages a dialog receives about a child (WM_DRAWITEM, WM_CTLCOLOR*,
// WM_HSCROLL, WM_VSCROLL) are first offered to the Control object that owns
// the child, through Control::FromHandle; see Dialog.
#include <windows.h>

#include <optional>

#include "winapp/window_view_win.h"
#include "winapp/window_win.h"

namespace orvalen {

// What a control made over a placeholder takes from it.
struct Placeholder {
  RECT rect{};  // in the client coordinates of the dialog
  int id = 0;
  HFONT font = nullptr;
  HWND window = nullptr;  // null when the dialog has no such item
};

Placeholder TakePlaceholder(const WindowView& dialog, int placeholderId);

class Control {
 public:
  Control() = default;
  Control(const Control&) = delete;
  Control& operator=(const Control&) = delete;
  virtual ~Control();

  // The object registered for `window`; null when none is.
  static Control* FromHandle(HWND window);

  // A message of the parent about this control's window. Return a value to
  // answer it (for WM_CTLCOLOR*: the brush; for WM_DRAWITEM: TRUE), nothing
  // to let the dialog handle it.
  virtual std::optional<LRESULT> OnReflected(UINT message, WPARAM wParam, LPARAM lParam);

  // Ties `window` to this object until UnregisterReflection, the window's
  // end or the object's end, whichever comes first. CustomControl and
  // SubclassedControl do it for the window they make or attach.
  void RegisterReflection(HWND window);
  void UnregisterReflection();

 private:
  HWND reflected_ = nullptr;
};

// A control with a window class of its own, registered once per class name.
class CustomControl : public Window, public Control {
 public:
  // Creates the control as a WS_CHILD window of ClassName() over the
  // placeholder: its rectangle, font and tab position, and its id unless `id`
  // names another (-1 = the placeholder's). A placeholder whose id the
  // control took is destroyed; otherwise it is hidden and disabled.
  bool CreateOver(const WindowView& dialog, int placeholderId, const char* text, DWORD style,
                  int id = -1);
  // Creates the control as a WS_CHILD window of `parent` on `rect` (client
  // coordinates of the parent), for controls placed by code.
  bool Create(const WindowView& parent, const RECT& rect, int id, const char* text, DWORD style);

 protected:
  virtual const char* ClassName() const = 0;
  // Changes the class attributes before the one registration (defaults as a
  // frame window gets them: double clicks, arrow cursor, window background).
  virtual void GetClassAttributes(WNDCLASSEXA& attributes) const;
  void OnDetached() override;
};

// A system control ("BUTTON", "EDIT", a common control...) with a subclass
// procedure of this object. The subclass goes at WM_NCDESTROY or with the
// object, whichever comes first.
class SubclassedControl : public WindowView, public Control {
 public:
  SubclassedControl() = default;
  ~SubclassedControl() override;

  // Subclasses an existing window; false when the window is null or this
  // object is attached already.
  bool Attach(HWND window);
  bool AttachItem(const WindowView& dialog, int id);
  // Creates a `systemClass` control over the placeholder (as
  // CustomControl::CreateOver does) and attaches it.
  bool CreateOver(const WindowView& dialog, int placeholderId, const char* systemClass,
                  DWORD style, DWORD exStyle = 0, int id = -1);
  // Creates a `systemClass` control on `rect` of `parent` and attaches it.
  bool Create(const WindowView& parent, const RECT& rect, int id, const char* systemClass,
              DWORD style, DWORD exStyle = 0);
  // Removes the subclass; the window stays.
  void Detach();

 protected:
  // Every message of the control but WM_NCDESTROY; the default passes it on.
  virtual LRESULT SubclassProc(UINT message, WPARAM wParam, LPARAM lParam);
  LRESULT CallDefault(UINT message, WPARAM wParam, LPARAM lParam);

 private:
  static LRESULT CALLBACK Procedure(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam,
                                    UINT_PTR subclassId, DWORD_PTR self);
};

}  // namespace orvalen
