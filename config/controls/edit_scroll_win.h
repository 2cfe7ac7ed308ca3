#pragma once
// TEditScroll, the numeric edit: a single-line edit of a dialog template
// whose style has a vertical scroll bar. Its up arrow adds the step while the
// value is below the maximum, its down arrow subtracts it while the value is
// above the minimum; the value is written back in the display format. Typed
// text is never checked.
//
// Use: AttachItem(page, 105), then SetRule({2, 100, 1, NumericFormat::kInteger}).
#include <windows.h>

#include "config/controls/numeric_edit.h"
#include "winapp/control_win.h"

namespace orvalen {

class TEditScroll : public SubclassedControl {
 public:
  void SetRule(const NumericEditRule& rule) { rule_ = rule; }
  const NumericEditRule& Rule() const { return rule_; }

 protected:
  LRESULT SubclassProc(UINT message, WPARAM wParam, LPARAM lParam) override;

 private:
  void Spin(SpinDirection direction);

  NumericEditRule rule_;
};

}  // namespace orvalen
