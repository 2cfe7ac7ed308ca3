#include "config/controls/button_ex_win.h"
#include "winapp/dpi_win.h"

#include <windowsx.h>

#include <string>

namespace orvalen {

namespace {

Rect ToRect(const RECT& r) { return Rect{r.left, r.top, r.right, r.bottom}; }
RECT ToRECT(const Rect& r) { return RECT{r.left, r.top, r.right, r.bottom}; }

std::optional<Size> BitmapSize(HBITMAP bitmap) {
  BITMAP info{};
  if (!bitmap || !GetObjectA(bitmap, sizeof info, &info)) return std::nullopt;
  return Size{info.bmWidth, info.bmHeight < 0 ? -info.bmHeight : info.bmHeight};
}

void Fill(HDC dc, const RECT& r, COLORREF color) {
  Brush brush(CreateSolidBrush(color));
  FillRect(dc, &r, brush.Get());
}

// Draws `bitmap` with its top-left at `placed`, only inside `clip`.
void DrawGlyph(HDC dc, HBITMAP bitmap, const Rect& placed, const Rect& clip, bool embossed) {
  const int saved = SaveDC(dc);
  IntersectClipRect(dc, clip.left, clip.top, clip.right, clip.bottom);
  if (embossed) {
    DrawStateA(dc, nullptr, nullptr, reinterpret_cast<LPARAM>(bitmap), 0, placed.left,
               placed.top, placed.Width(), placed.Height(), DST_BITMAP | DSS_DISABLED);
  } else {
    MemoryDC source(dc);
    SelectionScope select(source, bitmap);
    BitBlt(dc, placed.left, placed.top, placed.Width(), placed.Height(), source, 0, 0, SRCCOPY);
  }
  RestoreDC(dc, saved);
}

}  // namespace

void TButtonEx::SetColors(COLORREF text, COLORREF hotText, COLORREF face, COLORREF hotFace) {
  colors_ = {text, hotText, face, hotFace};
  Repaint();
}

void TButtonEx::SetFrameStyle(uint32_t frameStyle) {
  frameStyle_ = frameStyle;
  Repaint();
}

void TButtonEx::SetKeyboard(bool on) {
  machine_.SetKeyboard(on);
  Repaint();
}

bool TButtonEx::SetGlyph(int slot, int bitmapId, HINSTANCE module, bool mapGreys) {
  if (slot < 0 || slot >= kGlyphSlotCount) return false;
  HANDLE image = LoadImageA(module ? module : GetModuleHandleA(nullptr), MAKEINTRESOURCEA(bitmapId),
                            IMAGE_BITMAP, 0, 0,
                            LR_CREATEDIBSECTION | (mapGreys ? LR_LOADMAP3DCOLORS : 0));
  if (!image) return false;
  SetGlyphBitmap(slot, static_cast<HBITMAP>(image));
  return true;
}

void TButtonEx::SetGlyphBitmap(int slot, HBITMAP bitmap) {
  if (slot < 0 || slot >= kGlyphSlotCount) {
    if (bitmap) DeleteObject(bitmap);
    return;
  }
  glyphs_[slot].Reset(bitmap);
  Repaint();
}

void TButtonEx::SetFont(HFONT font, bool redraw) {
  // A copy, so the button can free its font without touching the caller's.
  LOGFONTA description{};
  if (font && GetObjectA(font, sizeof description, &description)) {
    font_.Reset(CreateFontIndirectA(&description));
  } else {
    font_.Reset();
  }
  if (redraw) Repaint();
}

std::optional<Size> TButtonEx::GlyphSize(int slot) const { return BitmapSize(Glyph(slot)); }

HFONT TButtonEx::TextFont() const {
  if (font_) return font_.Get();
  if (HWND parent = GetParent(Handle())) {
    if (auto font = reinterpret_cast<HFONT>(SendMessageA(parent, WM_GETFONT, 0, 0))) return font;
  }
  if (auto font = static_cast<HFONT>(GetStockObject(ANSI_VAR_FONT))) return font;
  return static_cast<HFONT>(GetStockObject(SYSTEM_FONT));
}

void TButtonEx::Repaint() {
  if (!Handle()) return;
  InvalidateRect(Handle(), nullptr, FALSE);
  UpdateWindow(Handle());
}

void TButtonEx::OnDetached() {
  CustomControl::OnDetached();
  for (Bitmap& glyph : glyphs_) glyph.Reset();
  font_.Reset();
}

void TButtonEx::GetClassAttributes(WNDCLASSEXA& attributes) const {
  // Looks and cursor of the system's button; the procedure stays ours.
  WNDCLASSEXA button{};
  button.cbSize = sizeof button;
  if (!GetClassInfoExA(nullptr, "BUTTON", &button)) return;
  attributes.style = button.style;
  attributes.hCursor = button.hCursor;
  attributes.hbrBackground = button.hbrBackground;
  attributes.hIcon = button.hIcon;
}

bool TButtonEx::PointerInside(LPARAM lParam) const {
  // A hidden button holding the capture must let it go at the next move.
  if (!IsWindowVisible(Handle())) return false;
  const POINT point{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
  const RECT client = ClientRect();
  return PtInRect(&client, point) != FALSE;
}

void TButtonEx::Apply(uint32_t actions) {
  HWND self = Handle();
  if ((actions & kActReleaseCapture) && GetCapture() == self) {
    releasingCapture_ = true;
    ReleaseCapture();
    releasingCapture_ = false;
  }
  if (actions & kActCapture) SetCapture(self);
  if (actions & kActTrackLeave) {
    TRACKMOUSEEVENT track{sizeof track, TME_LEAVE, self, 0};
    TrackMouseEvent(&track);
  }
  if ((actions & kActTakeFocus) && GetFocus() != self) SetFocus(self);
  if (actions & kActRepaint) Repaint();
  // Last: the parent's answer to the click may destroy this button.
  if (actions & kActClick) OnClick();
}

void TButtonEx::OnClick() {
  HWND self = Handle();
  SendMessageA(GetParent(self), WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(self), BN_CLICKED),
               reinterpret_cast<LPARAM>(self));
}

LRESULT TButtonEx::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  HWND self = Handle();
  switch (message) {
    case WM_CREATE: {
      const LONG style = GetWindowLongA(self, GWL_STYLE);
      machine_.EnableChanged(!(style & WS_DISABLED));
      machine_.SetDefault((style & BS_TYPEMASK) == BS_DEFPUSHBUTTON);
      return 0;
    }
    case WM_GETDLGCODE:
      return (GetWindowLongA(self, GWL_STYLE) & BS_TYPEMASK) == BS_DEFPUSHBUTTON
                 ? DLGC_BUTTON | DLGC_DEFPUSHBUTTON
                 : DLGC_BUTTON | DLGC_UNDEFPUSHBUTTON;
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:  // the class has double clicks; a quick second press is a press
      Apply(machine_.LeftDown(PointerInside(lParam), GetFocus() == self));
      return 0;
    case WM_MOUSEMOVE:
      Apply(machine_.MouseMove(PointerInside(lParam), (wParam & MK_LBUTTON) != 0,
                               GetCapture() == self));
      return 0;
    case WM_MOUSELEAVE: {
      POINT pointer{};
      GetCursorPos(&pointer);
      if (WindowFromPoint(pointer) != self) Apply(machine_.PointerLeft());
      return 0;
    }
    case WM_LBUTTONUP:
      Apply(machine_.LeftUp(PointerInside(lParam), GetCapture() == self));
      return 0;
    case WM_KEYDOWN:
      if (wParam != VK_SPACE) break;
      Apply(machine_.SpaceDown());
      return 0;
    case WM_KEYUP:
      if (wParam != VK_SPACE) break;
      Apply(machine_.SpaceUp());
      return 0;
    case WM_SETFOCUS: Apply(machine_.FocusChanged(true)); return 0;
    case WM_KILLFOCUS: Apply(machine_.FocusChanged(false)); return 0;
    case WM_ENABLE: Apply(machine_.EnableChanged(wParam != 0)); return 0;
    case WM_CANCELMODE: Apply(machine_.CancelMode()); return 0;
    case WM_EXITMENULOOP: Apply(machine_.ExitMenuLoop()); return 0;
    case WM_CAPTURECHANGED:
      if (!releasingCapture_ && reinterpret_cast<HWND>(lParam) != self) {
        Apply(machine_.CaptureLost());
      }
      return 0;
    case BM_SETSTATE: Apply(machine_.SetPressed(wParam != 0)); return 0;
    case BM_GETSTATE:
      return (State().pressed ? BST_PUSHED : 0) | (State().focused ? BST_FOCUS : 0);
    case BM_SETSTYLE: {
      const LONG type = static_cast<LONG>(wParam) & BS_TYPEMASK;
      if (type != BS_PUSHBUTTON && type != BS_DEFPUSHBUTTON) return 0;
      const LONG style = GetWindowLongA(self, GWL_STYLE);
      SetWindowLongA(self, GWL_STYLE, (style & ~BS_TYPEMASK) | type);
      Apply(machine_.SetDefault(type == BS_DEFPUSHBUTTON));
      return 0;
    }
    case WM_SETFONT: SetFont(reinterpret_cast<HFONT>(wParam), LOWORD(lParam) != 0); return 0;
    case WM_GETFONT: return reinterpret_cast<LRESULT>(font_.Get());
    case WM_SETTEXT: {
      const LRESULT result = DefaultProcessing(message, wParam, lParam);
      Repaint();
      return result;
    }
    case WM_ERASEBKGND: return 1;  // the painting covers the whole client area
    case WM_PAINT: {
      PaintDC paint(self);
      PaintTo(paint);
      return 0;
    }
    case WM_PRINTCLIENT: PaintTo(reinterpret_cast<HDC>(wParam)); return 0;
    default: break;
  }
  return DefaultProcessing(message, wParam, lParam);
}

void TButtonEx::PaintTo(HDC target) {
  const RECT client = ClientRect();
  const int width = client.right - client.left, height = client.bottom - client.top;
  if (width <= 0 || height <= 0) return;
  // Off-screen, then one transfer: no flicker while the pointer moves.
  MemoryDC memory(target);
  Bitmap bitmap(CreateCompatibleBitmap(target, width, height));
  if (!memory.Get() || !bitmap) return;
  SelectionScope select(memory, bitmap.Get());
  Paint(memory, client);
  BitBlt(target, 0, 0, width, height, memory, 0, 0, SRCCOPY);
}

void TButtonEx::DrawFrame(HDC dc, RECT& area) const {
  const ButtonStateBits& state = State();
  switch (ChooseFrame(frameStyle_, state.hot, state.pressed)) {
    case FrameKind::kNone: break;
    case FrameKind::kThinRaised: DrawEdge(dc, &area, BDR_RAISEDINNER, BF_RECT | BF_ADJUST); break;
    case FrameKind::kThinSunken: DrawEdge(dc, &area, BDR_SUNKENOUTER, BF_RECT | BF_ADJUST); break;
    case FrameKind::kRaised:
      DrawEdge(dc, &area, BDR_RAISEDOUTER, BF_RIGHT | BF_BOTTOM | BF_ADJUST);
      DrawEdge(dc, &area, BDR_RAISEDINNER, BF_RECT | BF_ADJUST);
      break;
    case FrameKind::kRaisedSunken: DrawEdge(dc, &area, EDGE_SUNKEN, BF_RECT | BF_ADJUST); break;
    case FrameKind::kPushButton:
      DrawEdge(dc, &area, EDGE_RAISED, BF_RECT | BF_SOFT | BF_ADJUST);
      break;
    case FrameKind::kPushButtonPressed:
      // Pressed: a dark outline with the shadow inside it, as the system's
      // classic push button shows.
      FrameRect(dc, &area, GetSysColorBrush(COLOR_3DDKSHADOW));
      InflateRect(&area, -1, -1);
      FrameRect(dc, &area, GetSysColorBrush(COLOR_BTNSHADOW));
      InflateRect(&area, -1, -1);
      break;
  }
}

void TButtonEx::Paint(HDC dc, const RECT& client) {
  const ButtonStateBits& state = State();
  const bool lit = state.hot || state.pressed;
  const COLORREF face = colors_[lit ? 3 : 2].value_or(GetSysColor(COLOR_BTNFACE));
  Fill(dc, client, face);

  const int width = client.right - client.left, height = client.bottom - client.top;
  const bool defaultRing = state.isDefault && width > 2 && height > 2;
  RECT area = client;
  if (defaultRing) InflateRect(&area, -1, -1);
  DrawFrame(dc, area);
  if (defaultRing) FrameRect(dc, &client, GetSysColorBrush(COLOR_WINDOWFRAME));

  DrawContent(dc, area);

  if (state.focused && machine_.Keyboard()) {
    RECT focus = area;
    InflateRect(&focus, -1, -1);
    DrawFocusRect(dc, &focus);
  }
}

void TButtonEx::DrawContent(HDC dc, const RECT& area) {
  const ButtonStateBits& state = State();
  uint32_t present = 0;
  for (int slot = 0; slot < kGlyphSlotCount; ++slot) {
    if (glyphs_[slot]) present |= 1u << slot;
  }
  const GlyphChoice choice = ChooseGlyph(present, state);
  HBITMAP glyph = glyphs_[choice.slot].Get();
  const std::optional<Size> glyphSize = GlyphSize(choice.slot);

  const std::string text = Text();
  SelectionScope font(dc, TextFont());
  std::optional<Size> textSize;
  const UINT format = DT_WORDBREAK | DT_CENTER;
  if (!text.empty()) {
    RECT measured{0, 0, TextMeasureWidth(ToRect(area), glyphSize), 0};
    DrawTextA(dc, text.c_str(), -1, &measured, format | DT_CALCRECT);
    textSize = Size{measured.right - measured.left, measured.bottom - measured.top};
  }

  const ContentPlacement placement =
      PlaceContent(ToRect(area), glyphSize, textSize, state.pressed, ScaledPixels(kGlyphInset));
  if (placement.glyph) DrawGlyph(dc, glyph, *placement.glyph, placement.glyphClip, choice.embossed);
  if (!placement.text) return;

  SetBkMode(dc, TRANSPARENT);
  RECT textRect = ToRECT(placement.textClip);
  if (state.disabled) {
    SetTextColor(dc, DisabledTextColor(GetSysColor(COLOR_GRAYTEXT), GetSysColor(COLOR_BTNFACE),
                                       GetSysColor(COLOR_BTNTEXT), GetSysColor(COLOR_BTNSHADOW)));
    DrawTextA(dc, text.c_str(), -1, &textRect, format);
    OffsetRect(&textRect, 1, 1);
    SetTextColor(dc, GetSysColor(COLOR_BTNHIGHLIGHT));
    DrawTextA(dc, text.c_str(), -1, &textRect, format);
    return;
  }
  const bool lit = state.hot || state.pressed;
  SetTextColor(dc, colors_[lit ? 1 : 0].value_or(GetSysColor(COLOR_BTNTEXT)));
  DrawTextA(dc, text.c_str(), -1, &textRect, format);
}

}  // namespace orvalen
