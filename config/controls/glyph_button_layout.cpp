#include "config/controls/glyph_button_layout.h"

#include <algorithm>

namespace orvalen {

FrameKind ChooseFrame(uint32_t frameStyle, bool hot, bool pressed) {
  if (frameStyle & kFrameFlat) return FrameKind::kNone;
  if ((frameStyle & kFrameHover) && !hot) return FrameKind::kNone;
  if (frameStyle & kFrameThin) return pressed ? FrameKind::kThinSunken : FrameKind::kThinRaised;
  if (frameStyle & kFrameRaised) return pressed ? FrameKind::kRaisedSunken : FrameKind::kRaised;
  return pressed ? FrameKind::kPushButtonPressed : FrameKind::kPushButton;
}

GlyphChoice ChooseGlyph(uint32_t present, const ButtonStateBits& state) {
  const auto has = [present](int slot) { return (present >> slot) & 1u; };
  if (state.disabled && has(kGlyphDisabled)) return {kGlyphDisabled, false};
  if (state.focused && has(kGlyphFocused)) return {kGlyphFocused, false};
  if (state.pressed && has(kGlyphPressed)) return {kGlyphPressed, false};
  if (state.hot && !state.pressed && has(kGlyphHot)) return {kGlyphHot, false};
  return {kGlyphNormal, state.disabled};
}

int32_t TextMeasureWidth(const Rect& area, std::optional<Size> glyph) {
  return std::max<int32_t>(0, area.Width() - (glyph ? glyph->width : 0));
}

namespace {

// One coordinate of a single item: centred when smaller than the span,
// at its start otherwise (the clip then cuts it to the span).
int32_t CentreOrStart(int32_t start, int32_t span, int32_t size) {
  return size < span ? start + (span - size) / 2 : start;
}

int32_t CentreIfLower(int32_t top, int32_t areaHeight, int32_t height) {
  return height < areaHeight ? top + (areaHeight - height) / 2 : top;
}

Rect At(int32_t left, int32_t top, Size size) {
  return Rect{left, top, left + size.width, top + size.height};
}

Rect Intersect(const Rect& a, const Rect& b) {
  Rect r{std::max(a.left, b.left), std::max(a.top, b.top), std::min(a.right, b.right),
         std::min(a.bottom, b.bottom)};
  if (r.right < r.left) r.right = r.left;
  if (r.bottom < r.top) r.bottom = r.top;
  return r;
}

Rect Shift(const Rect& r, int32_t by) {
  return Rect{r.left + by, r.top + by, r.right + by, r.bottom + by};
}

}  // namespace

ContentPlacement PlaceContent(const Rect& area, std::optional<Size> glyph,
                              std::optional<Size> text, bool pressed, int32_t inset) {
  ContentPlacement out;
  if (glyph && text) {
    const int32_t free = area.Width() - glyph->width - text->width - 2 * inset;
    const int32_t glyphLeft = area.left + (free >= 0 ? inset : inset + free / 2);
    const int32_t textLeft = glyphLeft + glyph->width + (free >= 0 ? free / 2 : 0);
    out.glyph = At(glyphLeft, CentreIfLower(area.top, area.Height(), glyph->height), *glyph);
    out.text = At(textLeft, CentreIfLower(area.top, area.Height(), text->height), *text);
    out.glyphClip = *out.glyph;
    out.textClip = *out.text;
  } else if (glyph || text) {
    const Size size = glyph ? *glyph : *text;
    const Rect placed = At(CentreOrStart(area.left, area.Width(), size.width),
                           CentreOrStart(area.top, area.Height(), size.height), size);
    const Rect clip = Intersect(placed, area);
    (glyph ? out.glyph : out.text) = placed;
    (glyph ? out.glyphClip : out.textClip) = clip;
  }
  if (pressed) {
    if (out.glyph) out.glyph = Shift(*out.glyph, 1);
    if (out.text) out.text = Shift(*out.text, 1);
    out.glyphClip = Shift(out.glyphClip, 1);
    out.textClip = Shift(out.textClip, 1);
  }
  return out;
}

ColorRef DisabledTextColor(ColorRef grayText, ColorRef buttonFace, ColorRef buttonText,
                           ColorRef buttonShadow) {
  return grayText == buttonFace || grayText == buttonText ? buttonShadow : grayText;
}

}  // namespace orvalen
