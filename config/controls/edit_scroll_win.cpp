#include "config/controls/edit_scroll_win.h"

namespace orvalen {

LRESULT TEditScroll::SubclassProc(UINT message, WPARAM wParam, LPARAM lParam) {
  if (message != WM_VSCROLL) return CallDefault(message, wParam, lParam);
  switch (LOWORD(wParam)) {
    case SB_LINEUP: Spin(SpinDirection::kUp); break;
    case SB_LINEDOWN: Spin(SpinDirection::kDown); break;
    default: break;  // other parts of the scroll bar change nothing
  }
  return 0;
}

void TEditScroll::Spin(SpinDirection direction) {
  char text[kNumericEditMaxText + 1] = {};
  GetWindowTextA(Handle(), text, sizeof text);
  if (const auto changed = StepNumericText(text, rule_, direction)) {
    SetWindowTextA(Handle(), changed->c_str());
  }
}

}  // namespace orvalen
