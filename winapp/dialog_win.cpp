#include "winapp/dialog_win.h"

#include "winapp/application_win.h"
#include "winapp/callback_guard_win.h"
#include "winapp/control_win.h"

namespace orvalen {
namespace {

// Messages whose answer is the dialog procedure's own value.
bool AnswersDirectly(UINT message) {
  switch (message) {
    case WM_CTLCOLORMSGBOX:
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORLISTBOX:
    case WM_CTLCOLORBTN:
    case WM_CTLCOLORDLG:
    case WM_CTLCOLORSCROLLBAR:
    case WM_CTLCOLORSTATIC:
    case WM_COMPAREITEM:
    case WM_VKEYTOITEM:
    case WM_CHARTOITEM:
    case WM_QUERYDRAGICON:
    case WM_INITDIALOG:
      return true;
    default:
      return false;
  }
}

}  // namespace

Dialog::~Dialog() {
  HWND window = Handle();
  if (!window) return;
  SetWindowLongPtrA(window, DWLP_USER, 0);
  Detach();
  if (!modal_ && IsWindow(window)) DestroyWindow(window);
}

LPCSTR Dialog::Template() const {
  return templateName_.empty() ? MAKEINTRESOURCEA(templateId_) : templateName_.c_str();
}

INT_PTR Dialog::RunModal(HWND owner) {
  if (Handle()) return -1;
  modal_ = true;
  return DialogBoxParamA(GetModuleHandleA(nullptr), Template(), owner, &Dialog::Procedure,
                         reinterpret_cast<LPARAM>(this));
}

HWND Dialog::CreateModeless(HWND parent) {
  if (Handle()) return nullptr;
  modal_ = false;
  HWND window = CreateDialogParamA(GetModuleHandleA(nullptr), Template(), parent,
                                   &Dialog::Procedure, reinterpret_cast<LPARAM>(this));
  if (window && !(GetWindowLongPtrA(window, GWL_STYLE) & WS_CHILD)) {
    Application::RegisterModeless(window);
  }
  return window;
}

void Dialog::End(INT_PTR result) {
  if (!Handle()) return;
  if (modal_) {
    EndDialog(Handle(), result);
  } else {
    DestroyWindow(Handle());
  }
}

void Dialog::Detach() {
  if (!Handle()) return;
  Application::UnregisterModeless(Handle());
  SetHandle(nullptr);
}

bool Dialog::OnCommand(int id, int, HWND) {
  if (!modal_ || (id != IDOK && id != IDCANCEL)) return false;
  End(id);
  return true;
}

std::optional<LRESULT> Dialog::OnNotify(const NMHDR&) { return std::nullopt; }

bool Dialog::OnTimer(UINT_PTR) { return false; }

bool Dialog::OnDropFiles(DropHandle) { return false; }

bool Dialog::OnSize(UINT, int, int) { return false; }

bool Dialog::OnGetMinMaxInfo(MINMAXINFO&) { return false; }

std::optional<INT_PTR> Dialog::HandleMessage(UINT, WPARAM, LPARAM) { return std::nullopt; }

INT_PTR Dialog::Result(UINT message, LRESULT value) {
  if (AnswersDirectly(message)) return static_cast<INT_PTR>(value);
  SetWindowLongPtrA(Handle(), DWLP_MSGRESULT, value);
  return TRUE;
}

std::optional<LRESULT> Dialog::Reflect(UINT message, WPARAM wParam, LPARAM lParam) {
  HWND child = nullptr;
  switch (message) {
    case WM_DRAWITEM: {
      const auto* item = reinterpret_cast<const DRAWITEMSTRUCT*>(lParam);
      if (item && item->CtlType != ODT_MENU) child = item->hwndItem;
      break;
    }
    case WM_NOTIFY: {
      const auto* header = reinterpret_cast<const NMHDR*>(lParam);
      if (header) child = header->hwndFrom;
      break;
    }
    case WM_CTLCOLORMSGBOX:
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORLISTBOX:
    case WM_CTLCOLORBTN:
    case WM_CTLCOLORSCROLLBAR:
    case WM_CTLCOLORSTATIC:
    case WM_HSCROLL:
    case WM_VSCROLL:
      child = reinterpret_cast<HWND>(lParam);
      break;
    default:
      return std::nullopt;
  }
  if (!child || child == Handle()) return std::nullopt;
  Control* control = Control::FromHandle(child);
  return control ? control->OnReflected(message, wParam, lParam) : std::nullopt;
}

INT_PTR Dialog::Dispatch(UINT message, WPARAM wParam, LPARAM lParam) {
  if (const std::optional<LRESULT> reflected = Reflect(message, wParam, lParam)) {
    return Result(message, *reflected);
  }
  switch (message) {
    case WM_COMMAND:
      return OnCommand(LOWORD(wParam), HIWORD(wParam), reinterpret_cast<HWND>(lParam));
    case WM_NOTIFY: {
      const std::optional<LRESULT> answer = OnNotify(*reinterpret_cast<const NMHDR*>(lParam));
      return answer ? Result(message, *answer) : FALSE;
    }
    case WM_TIMER: return OnTimer(wParam);
    case WM_DROPFILES: return OnDropFiles(DropHandle(reinterpret_cast<HDROP>(wParam)));
    case WM_SIZE: return OnSize(static_cast<UINT>(wParam), LOWORD(lParam), HIWORD(lParam));
    case WM_GETMINMAXINFO: return OnGetMinMaxInfo(*reinterpret_cast<MINMAXINFO*>(lParam));
    case WM_DESTROY: OnDestroy(); return FALSE;
    default: return HandleMessage(message, wParam, lParam).value_or(FALSE);
  }
}

INT_PTR CALLBACK Dialog::Procedure(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_INITDIALOG) {
    auto* self = reinterpret_cast<Dialog*>(lParam);
    if (!self) return TRUE;
    self->SetHandle(hwnd);
    SetWindowLongPtrA(hwnd, DWLP_USER, lParam);
    return GuardedCallback<INT_PTR>(TRUE,
                                    [&]() -> INT_PTR { return self->OnInit() ? TRUE : FALSE; });
  }
  auto* self = reinterpret_cast<Dialog*>(GetWindowLongPtrA(hwnd, DWLP_USER));
  if (!self) return FALSE;
  const INT_PTR result =
      GuardedCallback<INT_PTR>(FALSE, [&] { return self->Dispatch(message, wParam, lParam); });
  if (message == WM_NCDESTROY) {
    SetWindowLongPtrA(hwnd, DWLP_USER, 0);
    self->Detach();
  }
  return result;
}

}  // namespace orvalen
