#include "config/configure_dialog_win.h"

#include "resources/resource_ids.h"

namespace orvalen {

TSC_Configure::TSC_Configure(bool owned) : Dialog(owned ? IDD_CONFIGURE_OWNED : IDD_CONFIGURE) {}

BOOL TSC_Configure::OnInit() {
  HICON icon = static_cast<HICON>(LoadImageA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDI_PROGRAM),
                                             IMAGE_ICON, 16, 16, LR_SHARED));
  if (icon) SendMessageA(Handle(), WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(icon));
  return TRUE;
}

void TSC_Configure::OnCommand(int id, int, HWND) {
  switch (id) {
    case IDOK: End(IDOK); break;
    case IDCANCEL: End(IDCANCEL); break;
    default: break;  // the hidden default button has no command: Enter does nothing
  }
}

void RunConfigureDialog(HWND owner, bool owned) {
  TSC_Configure dialog(owned);
  // An owner handle that names no window would make the dialog fail to
  // appear at all; it is then shown without owner.
  dialog.RunModal(owner && IsWindow(owner) ? owner : nullptr);
}

}  // namespace orvalen
