#include "winapp/dialog_win.h"

namespace orvalen {

Dialog::~Dialog() {
  HWND window = Handle();
  if (window && !modal_ && IsWindow(window)) {
    SetWindowLongPtrA(window, DWLP_USER, 0);
    DestroyWindow(window);
  }
}

INT_PTR Dialog::RunModal(HWND owner) {
  modal_ = true;
  return DialogBoxParamA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(templateId_), owner,
                         &Dialog::Procedure, reinterpret_cast<LPARAM>(this));
}

HWND Dialog::CreateModeless(HWND parent) {
  modal_ = false;
  return CreateDialogParamA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(templateId_), parent,
                            &Dialog::Procedure, reinterpret_cast<LPARAM>(this));
}

void Dialog::End(INT_PTR result) {
  if (!Handle()) return;
  if (modal_) {
    EndDialog(Handle(), result);
  } else {
    DestroyWindow(Handle());
  }
}

void Dialog::OnCommand(int id, int, HWND) {
  if (id == IDOK || id == IDCANCEL) End(id);
}

LRESULT Dialog::OnNotify(const NMHDR&) { return 0; }

INT_PTR Dialog::HandleMessage(UINT, WPARAM, LPARAM) { return FALSE; }

INT_PTR CALLBACK Dialog::Procedure(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  Dialog* self = nullptr;
  if (message == WM_INITDIALOG) {
    self = reinterpret_cast<Dialog*>(lParam);
    self->SetHandle(hwnd);
    SetWindowLongPtrA(hwnd, DWLP_USER, lParam);
    return self->OnInit();
  }
  self = reinterpret_cast<Dialog*>(GetWindowLongPtrA(hwnd, DWLP_USER));
  if (!self) return FALSE;
  switch (message) {
    case WM_COMMAND:
      self->OnCommand(LOWORD(wParam), HIWORD(wParam), reinterpret_cast<HWND>(lParam));
      return TRUE;
    case WM_NOTIFY:
      SetWindowLongPtrA(hwnd, DWLP_MSGRESULT,
                        self->OnNotify(*reinterpret_cast<const NMHDR*>(lParam)));
      return TRUE;
    case WM_NCDESTROY:
      self->SetHandle(nullptr);
      return FALSE;
    default:
      return self->HandleMessage(message, wParam, lParam);
  }
}

}  // namespace orvalen
