#pragma once
// TRTF_Journal, the in-place journal editor: a rich-edit control whose lines
// each keep one style. Ctrl+B, Ctrl+I and Ctrl+U toggle bold, italic and
// underline on the whole lines the selection touches; Ctrl+C, Ctrl+X and
// Ctrl+V copy, cut and paste, a paste only while the text stays within what a
// day can store.
#include <windows.h>

#include "winapp/control_win.h"

namespace orvalen {

constexpr char kTooManyLinesMessage[] =
    "Too many lines!\nText limit has been exceed,\nplease delete some text";

class TRTF_Journal : public SubclassedControl {
 public:
  // Set by every key and edit command; cleared when a day is loaded.
  bool DayModified() const { return dayModified_; }
  void ClearModified() { dayModified_ = false; }

  // Whether the stored form of the text stays within its limit: the start of
  // the last line plus 16 characters for each line's attributes.
  bool TextFits() const;
  // Toggles a CFE_* effect on the whole lines the selection touches.
  void ToggleLineStyle(DWORD effect);

 protected:
  LRESULT SubclassProc(UINT message, WPARAM wParam, LPARAM lParam) override;

 private:
  bool CheckTextSize();
  LRESULT ControlKey(UINT message, WPARAM wParam, LPARAM lParam);

  bool dayModified_ = false;
};

}  // namespace orvalen
