#pragma once
// The configuration dialog of Orvalen.exe.
#include <windows.h>

#include "winapp/dialog_win.h"

namespace orvalen {

class TSC_Configure : public Dialog {
 public:
  // Template 2003 when the dialog has an owner, 2004 (with a minimize box)
  // when it has none.
  explicit TSC_Configure(bool owned);

 protected:
  bool OnInit() override;
  bool OnCommand(int id, int notifyCode, HWND control) override;
};

// Runs the dialog modally with `owner` (0 for none); returns when it closes.
void RunConfigureDialog(HWND owner, bool owned);

}  // namespace orvalen
