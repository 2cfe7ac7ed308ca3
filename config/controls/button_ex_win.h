#pragma once
// TButtonEx, the glyph button: a push button of a window class of its own
// (copied from the system button class) that draws an optional glyph beside
// its text, in colours of its own, with one of five frames. It lights up
// while the pointer is over it and reports a click to its parent with
// WM_COMMAND (id, BN_CLICKED), sent, never posted. By default it is
// mouse-only: the space bar does nothing and no focus rectangle is drawn.
//
// Use: construct, CreateOver(page, placeholderId, "&Save", WS_VISIBLE |
// WS_TABSTOP, newId), then SetFrameStyle / SetColors / SetGlyph / SetFont.
#include <windows.h>

#include <array>
#include <cstdint>
#include <optional>

#include "config/controls/button_state.h"
#include "config/controls/glyph_button_layout.h"
#include "winapp/control_win.h"
#include "winapp/handles_win.h"

namespace orvalen {

class TButtonEx : public CustomControl {
 public:
  TButtonEx() = default;
  ~TButtonEx() override = default;

  // Text, text while hot or pressed, face, face while hot or pressed.
  void SetColors(COLORREF text, COLORREF hotText, COLORREF face, COLORREF hotFace);
  // ButtonFrameStyle flags; kFrameStandard (0) draws the push-button border.
  void SetFrameStyle(uint32_t frameStyle);
  uint32_t FrameStyle() const { return frameStyle_; }
  // With the flag set the space bar presses the button and the focus
  // rectangle is drawn.
  void SetKeyboard(bool on);
  // Loads the glyph of `slot` (GlyphSlot) from bitmap resource `bitmapId` of
  // `module` (null: the program) as a DIB section; false when there is no
  // such bitmap. With `mapGreys` the greys 128, 192 and 223 of a bitmap with
  // a colour table become the shadow, face and light button colours
  // (LR_LOADMAP3DCOLORS), so the glyph's background matches the face.
  bool SetGlyph(int slot, int bitmapId, HINSTANCE module = nullptr, bool mapGreys = true);
  // Takes a bitmap the caller made; the button owns it from now on.
  void SetGlyphBitmap(int slot, HBITMAP bitmap);
  // The font the text is drawn in: the button keeps a copy of `font`
  // (null: back to the parent's font).
  void SetFont(HFONT font, bool redraw = true);

  HBITMAP Glyph(int slot) const {
    return slot >= 0 && slot < kGlyphSlotCount ? glyphs_[slot].Get() : nullptr;
  }
  // The size of the glyph of `slot`; nothing when the slot is empty.
  std::optional<Size> GlyphSize(int slot) const;
  const ButtonStateBits& State() const { return machine_.State(); }
  void Repaint();

 protected:
  const char* ClassName() const override { return "OrvalenButtonEx"; }
  void GetClassAttributes(WNDCLASSEXA& attributes) const override;
  LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
  // The window is gone: its glyphs and font go with it.
  void OnDetached() override;

  // Draws the whole client area into `dc` (an off-screen bitmap).
  virtual void Paint(HDC dc, const RECT& client);
  // The button was clicked; the default sends WM_COMMAND to the parent.
  virtual void OnClick();

  // The font of the text: the one set, else the parent's, else a stock font.
  HFONT TextFont() const;

 private:
  void Apply(uint32_t actions);
  void PaintTo(HDC target);
  bool PointerInside(LPARAM lParam) const;
  void DrawFrame(HDC dc, RECT& area) const;
  void DrawContent(HDC dc, const RECT& area);

  ButtonStateMachine machine_;
  uint32_t frameStyle_ = kFrameStandard;
  // Text, hot text, face, hot face; unset means the system colour.
  std::array<std::optional<COLORREF>, 4> colors_;
  std::array<Bitmap, kGlyphSlotCount> glyphs_;
  Font font_;
  bool releasingCapture_ = false;
};

}  // namespace orvalen
