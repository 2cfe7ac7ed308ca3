#include "winapp/control_win.h"

#include <commctrl.h>

#include "winapp/callback_guard_win.h"

namespace orvalen {
namespace {

constexpr const char* kControlProperty = "Orvalen.Control";

// Puts a control made over a placeholder in the placeholder's place: right
// after it in the z and tab order, with its font; then the placeholder goes.
void SettleOverPlaceholder(HWND control, const Placeholder& placeholder) {
  SetWindowPos(control, placeholder.window, 0, 0, 0, 0,
               SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE | SWP_NOOWNERZORDER);
  if (placeholder.font)
    SendMessageA(control, WM_SETFONT, reinterpret_cast<WPARAM>(placeholder.font), FALSE);
  if (GetDlgCtrlID(control) == placeholder.id) {
    DestroyWindow(placeholder.window);
  } else {
    ShowWindow(placeholder.window, SW_HIDE);
    EnableWindow(placeholder.window, FALSE);
  }
}

}  // namespace

Placeholder TakePlaceholder(const WindowView& dialog, int placeholderId) {
  Placeholder placeholder;
  WindowView item = dialog.Item(placeholderId);
  if (!item) return placeholder;
  placeholder.window = item.Handle();
  placeholder.id = placeholderId;
  placeholder.rect = item.RectIn(dialog.Handle());
  placeholder.font = reinterpret_cast<HFONT>(item.Send(WM_GETFONT));
  return placeholder;
}

Control::~Control() { UnregisterReflection(); }

Control* Control::FromHandle(HWND window) {
  return window ? static_cast<Control*>(GetPropA(window, kControlProperty)) : nullptr;
}

std::optional<LRESULT> Control::OnReflected(UINT, WPARAM, LPARAM) { return std::nullopt; }

void Control::RegisterReflection(HWND window) {
  UnregisterReflection();
  if (window && SetPropA(window, kControlProperty, this)) reflected_ = window;
}

void Control::UnregisterReflection() {
  if (!reflected_) return;
  if (IsWindow(reflected_) && GetPropA(reflected_, kControlProperty) == this) {
    RemovePropA(reflected_, kControlProperty);
  }
  reflected_ = nullptr;
}

bool CustomControl::CreateOver(const WindowView& dialog, int placeholderId, const char* text,
                               DWORD style, int id) {
  const Placeholder placeholder = TakePlaceholder(dialog, placeholderId);
  if (!placeholder.window) return false;
  if (!Create(dialog, placeholder.rect, id == -1 ? placeholder.id : id, text, style)) return false;
  SettleOverPlaceholder(Handle(), placeholder);
  return true;
}

bool CustomControl::Create(const WindowView& parent, const RECT& rect, int id, const char* text,
                           DWORD style) {
  if (Handle() || !parent) return false;
  if (!RegisterClassOnce(ClassName(), [this](WNDCLASSEXA& attributes) {
        GetClassAttributes(attributes);
      })) {
    return false;
  }
  HMENU childId = reinterpret_cast<HMENU>(static_cast<INT_PTR>(id));
  HWND control = CreateOwnedWindow(0, ClassName(), text ? text : "", style | WS_CHILD, rect.left,
                                   rect.top, rect.right - rect.left, rect.bottom - rect.top,
                                   parent.Handle(), childId);
  if (!control) return false;
  RegisterReflection(control);
  return true;
}

void CustomControl::GetClassAttributes(WNDCLASSEXA&) const {}

void CustomControl::OnDetached() { UnregisterReflection(); }

SubclassedControl::~SubclassedControl() { Detach(); }

bool SubclassedControl::Attach(HWND window) {
  if (!window || Handle()) return false;
  if (!SetWindowSubclass(window, &SubclassedControl::Procedure,
                         reinterpret_cast<UINT_PTR>(this), reinterpret_cast<DWORD_PTR>(this))) {
    return false;
  }
  SetHandle(window);
  RegisterReflection(window);
  return true;
}

bool SubclassedControl::AttachItem(const WindowView& dialog, int id) {
  return Attach(dialog.Item(id).Handle());
}

bool SubclassedControl::CreateOver(const WindowView& dialog, int placeholderId,
                                   const char* systemClass, DWORD style, DWORD exStyle, int id) {
  const Placeholder placeholder = TakePlaceholder(dialog, placeholderId);
  if (!placeholder.window) return false;
  if (!Create(dialog, placeholder.rect, id == -1 ? placeholder.id : id, systemClass, style,
              exStyle)) {
    return false;
  }
  SettleOverPlaceholder(Handle(), placeholder);
  return true;
}

bool SubclassedControl::Create(const WindowView& parent, const RECT& rect, int id,
                               const char* systemClass, DWORD style, DWORD exStyle) {
  if (Handle() || !parent) return false;
  HWND control = CreateWindowExA(exStyle, systemClass, "", style | WS_CHILD, rect.left, rect.top,
                                 rect.right - rect.left, rect.bottom - rect.top, parent.Handle(),
                                 reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)),
                                 GetModuleHandleA(nullptr), nullptr);
  if (!control) return false;
  if (!Attach(control)) {
    DestroyWindow(control);
    return false;
  }
  return true;
}

void SubclassedControl::Detach() {
  HWND window = Handle();
  if (!window) return;
  UnregisterReflection();
  RemoveWindowSubclass(window, &SubclassedControl::Procedure, reinterpret_cast<UINT_PTR>(this));
  SetHandle(nullptr);
}

LRESULT SubclassedControl::SubclassProc(UINT message, WPARAM wParam, LPARAM lParam) {
  return CallDefault(message, wParam, lParam);
}

LRESULT SubclassedControl::CallDefault(UINT message, WPARAM wParam, LPARAM lParam) {
  return DefSubclassProc(Handle(), message, wParam, lParam);
}

LRESULT CALLBACK SubclassedControl::Procedure(HWND hwnd, UINT message, WPARAM wParam,
                                              LPARAM lParam, UINT_PTR, DWORD_PTR self) {
  auto* control = reinterpret_cast<SubclassedControl*>(self);
  if (message == WM_NCDESTROY) {
    control->Detach();
    return DefSubclassProc(hwnd, message, wParam, lParam);
  }
  const std::optional<LRESULT> result = GuardedCallback<std::optional<LRESULT>>(
      std::nullopt,
      [&] { return std::optional<LRESULT>(control->SubclassProc(message, wParam, lParam)); });
  return result ? *result : DefSubclassProc(hwnd, message, wParam, lParam);
}

}  // namespace orvalen
