#include "config/controls/button_color_pick_win.h"

#include <array>
#include <optional>

#include "config/command_ids.h"
#include "config/controls/color_pick_layout.h"
#include "winapp/common_dialogs_win.h"

namespace orvalen {

void TButtonColorPick::SetColor(COLORREF color) {
  color_ = color;
  Repaint();
}

void TButtonColorPick::Paint(HDC dc, const RECT& client) {
  const bool pressed = State().pressed;
  {
    Brush face(CreateSolidBrush(GetSysColor(COLOR_BTNFACE)));
    FillRect(dc, &client, face.Get());
  }
  HBITMAP arrow = Glyph(kGlyphNormal);
  const ColorPickPlacement p =
      PlaceColorPick(Rect{client.left, client.top, client.right, client.bottom},
                     GlyphSize(kGlyphNormal).value_or(Size{}), pressed);
  if (arrow) {
    MemoryDC source(dc);
    SelectionScope select(source, arrow);
    BitBlt(dc, p.glyph.left, p.glyph.top, p.glyph.Width(), p.glyph.Height(), source, 0, 0,
           SRCCOPY);
  }
  {
    Brush fill(CreateSolidBrush(color_));
    SelectionScope pen(dc, GetStockObject(BLACK_PEN));
    SelectionScope brush(dc, fill.Get());
    Rectangle(dc, p.swatch.left, p.swatch.top, p.swatch.right, p.swatch.bottom);
  }
  {
    Pen shadow(CreatePen(PS_SOLID, 1, GetSysColor(COLOR_BTNSHADOW)));
    SelectionScope pen(dc, shadow.Get());
    MoveToEx(dc, p.lineX, p.lineTop, nullptr);
    LineTo(dc, p.lineX, p.lineBottom);
  }
}

void TButtonColorPick::OnClick() {
  HWND self = Handle();
  // Every opening offers the same custom colours, whatever the user did to
  // them the last time.
  std::array<COLORREF, 16> custom;
  for (size_t i = 0; i < custom.size(); ++i) custom[i] = kColorPickCustomColors[i];
  const std::optional<COLORREF> chosen = ChooseColour(self, color_, custom);
  if (!chosen || !IsWindow(self)) return;
  SetColor(*chosen);
  if (GetDlgCtrlID(self) == kAnnouncingColorPickId) {
    PostMessageA(GetParent(self), WM_COMMAND, MAKEWPARAM(CM_COLOR_PICKED, 0), 0);
  }
}

}  // namespace orvalen
