#include "config/configure_dialog_win.h"

#include "resources/resource_ids.h"

namespace orvalen {

TSC_Configure::TSC_Configure(bool owned) : Dialog(owned ? IDD_CONFIGURE_OWNED : IDD_CONFIGURE) {}

bool TSC_Configure::OnInit() {
  HICON icon = static_cast<HICON>(LoadImageA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDI_PROGRAM),
                                             IMAGE_ICON, 16, 16, LR_SHARED));
  if (icon) Send(WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(icon));
  return true;
}

bool TSC_Configure::OnCommand(int id, int, HWND) {
  switch (id) {
    case IDOK: End(IDOK); return true;
    case IDCANCEL: End(IDCANCEL); return true;
    // The hidden default button has no command: Enter does nothing.
    case IDC_CONFIGURE_DEFAULT_BUTTON: return true;
    default: return false;
  }
}

void RunConfigureDialog(HWND owner, bool owned) {
  TSC_Configure dialog(owned);
  // An owner handle that names no window would make the dialog fail to
  // appear at all; it is then shown without owner.
  dialog.RunModal(owner && IsWindow(owner) ? owner : nullptr);
}

}  // namespace orvalen
