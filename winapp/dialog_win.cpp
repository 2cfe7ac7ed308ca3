#include "winapp/dialog_win.h"

namespace orvalen {

Dialog::~Dialog() {
  if (hwnd_ && !modal_ && IsWindow(hwnd_)) {
    SetWindowLongPtrA(hwnd_, DWLP_USER, 0);
    DestroyWindow(hwnd_);
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
  if (!hwnd_) return;
  if (modal_) {
    EndDialog(hwnd_, result);
  } else {
    DestroyWindow(hwnd_);
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
    self->hwnd_ = hwnd;
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
      self->hwnd_ = nullptr;
      return FALSE;
    default:
      return self->HandleMessage(message, wParam, lParam);
  }
}

}  // namespace orvalen
