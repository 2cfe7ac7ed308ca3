#pragma once
// TTreeWindowFullRow, the page tree: the system tree view, where a click
// anywhere right of an item's label selects the item, a click near the right
// edge of the selected row (or a double click right of a label) expands or
// collapses it, and the selected item is shown as a bar across the whole
// row.
//
// Use: AttachItem(dialog, 101) on the template's tree view.
#include <windows.h>

#include <commctrl.h>

#include "winapp/control_win.h"

namespace orvalen {

class TTreeWindowFullRow : public SubclassedControl {
 protected:
  LRESULT SubclassProc(UINT message, WPARAM wParam, LPARAM lParam) override;

 private:
  // True when the click was handled here, false for the default behaviour.
  bool OnLeftDown(LPARAM lParam);
  void OnDoubleClick(LPARAM lParam);
  // Paints the selected item's bar into `dc` (null: the control's own DC).
  void PaintSelectionBar(HDC dc);

  // The item whose bar was painted last: when the selection moves, the whole
  // control is painted again so no bar is left behind.
  HTREEITEM barItem_ = nullptr;
};

}  // namespace orvalen
