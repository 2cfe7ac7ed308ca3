#include "config/controls/button_color_pick_win.h"

#include <commdlg.h>

#include <array>
#include <optional>

#include "config/controls/color_pick_layout.h"

namespace orvalen {

namespace {

// The command the announcing colour-pick button posts after a choice.
constexpr int kColorPickedCommand = 666;

// The system colour dialog with `initial` preselected and our custom colours;
// the chosen colour, or nothing when the user cancelled.
std::optional<COLORREF> ChooseColorWithCustoms(HWND owner, COLORREF initial) {
  std::array<COLORREF, 16> custom;
  for (size_t i = 0; i < custom.size(); ++i) custom[i] = kColorPickCustomColors[i];
  CHOOSECOLORA choose{};
  choose.lStructSize = sizeof choose;
  choose.hwndOwner = owner;
  choose.rgbResult = initial;
  choose.lpCustColors = custom.data();
  choose.Flags = CC_RGBINIT;
  if (!ChooseColorA(&choose)) return std::nullopt;
  return choose.rgbResult;
}

}  // namespace

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
  BITMAP arrowInfo{};
  Size arrowSize;
  if (arrow && GetObjectA(arrow, sizeof arrowInfo, &arrowInfo)) {
    arrowSize = Size{arrowInfo.bmWidth, arrowInfo.bmHeight < 0 ? -arrowInfo.bmHeight : arrowInfo.bmHeight};
  }
  const ColorPickPlacement p = PlaceColorPick(
      Rect{client.left, client.top, client.right, client.bottom}, arrowSize, pressed);
  if (arrow) {
    MemoryDC source(dc);
    SelectionScope select(source, arrow);
    BitBlt(dc, p.glyph.left, p.glyph.top, p.glyph.Width(), p.glyph.Height(), source, 0, 0, SRCCOPY);
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
  const std::optional<COLORREF> chosen = ChooseColorWithCustoms(self, color_);
  if (!chosen || !IsWindow(self)) return;
  SetColor(*chosen);
  if (GetDlgCtrlID(self) == kAnnouncingColorPickId) {
    PostMessageA(GetParent(self), WM_COMMAND, MAKEWPARAM(kColorPickedCommand, 0), 0);
  }
}

}  // namespace orvalen
