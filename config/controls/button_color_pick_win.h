#pragma once
// TButtonColorPick, the colour-pick button: a glyph button that shows a
// colour swatch and a drop-down arrow (its normal glyph, bitmap
// IDB_COLOR_ARROW) and, when clicked, lets the user choose the colour in the
// system colour dialog. The button whose id is 555 then posts
// WM_COMMAND CM_COLOR_PICKED to its parent; no button sends BN_CLICKED.
//
// Use: CreateOver(page, placeholderId, "", WS_VISIBLE | WS_TABSTOP, 555),
// SetGlyph(kGlyphNormal, IDB_COLOR_ARROW), SetColor(...); Color() in Store.
#include <windows.h>

#include "config/controls/button_ex_win.h"

namespace orvalen {

class TButtonColorPick : public TButtonEx {
 public:
  COLORREF Color() const { return color_; }
  void SetColor(COLORREF color);

 protected:
  const char* ClassName() const override { return "OrvalenButtonColorPick"; }
  void Paint(HDC dc, const RECT& client) override;
  void OnClick() override;

 private:
  COLORREF color_ = RGB(0, 0, 0);
};

}  // namespace orvalen
