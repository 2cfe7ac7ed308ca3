#pragma once
// The arithmetic of the glyph button's painting: which frame and which glyph
// image it draws for its state, where glyph and text go inside the area the
// frame leaves, and which colours text and face take. No windows.h here, so
// both presets build and test it.
#include <cstdint>
#include <optional>

#include "base/geometry.h"

namespace orvalen {

// Frame styles a glyph button can be given. More than one may be set; they
// are tried in the order flat, hover, thin, raised, and the standard
// push-button border is drawn when none applies.
enum ButtonFrameStyle : uint32_t {
  kFrameStandard = 0,
  kFrameFlat = 1,
  kFrameHover = 2,
  kFrameThin = 4,
  kFrameRaised = 8,
};

enum class FrameKind {
  kNone,
  kThinRaised,        // BDR_RAISEDINNER on all sides
  kThinSunken,        // BDR_SUNKENOUTER on all sides
  kRaised,            // BDR_RAISEDINNER all round, BDR_RAISEDOUTER right and bottom
  kRaisedSunken,      // EDGE_SUNKEN
  kPushButton,        // the standard push-button border
  kPushButtonPressed,
};

// The frame for the style flags and the state. A hover frame shows nothing
// until the pointer is over the button; once it is, the remaining styles are
// tried in order.
FrameKind ChooseFrame(uint32_t frameStyle, bool hot, bool pressed);

// Image slots of a glyph button.
enum GlyphSlot : int {
  kGlyphNormal = 0,
  kGlyphDisabled = 3,
  kGlyphPressed = 4,
  kGlyphFocused = 5,
  kGlyphHot = 6,
  kGlyphSlotCount = 7,
};

struct ButtonStateBits {
  bool pressed = false;
  bool focused = false;
  bool isDefault = false;
  bool disabled = false;
  bool hot = false;
  bool tracking = false;
  friend bool operator==(const ButtonStateBits&, const ButtonStateBits&) = default;
};

struct GlyphChoice {
  int slot = kGlyphNormal;
  bool embossed = false;  // drawn greyed because a disabled button has no disabled image
};

// `present` has bit 1 << slot set for each image the button holds.
GlyphChoice ChooseGlyph(uint32_t present, const ButtonStateBits& state);

struct Size {
  int32_t width = 0;
  int32_t height = 0;
  friend bool operator==(const Size&, const Size&) = default;
};

// Where glyph and text are drawn. `glyph` and `text` are where each item's
// top-left pixel lands and its full size; `glyphClip` and `textClip` are the
// parts that may be drawn (a single item larger than the area is cut to it).
struct ContentPlacement {
  std::optional<Rect> glyph;
  std::optional<Rect> text;
  Rect glyphClip;
  Rect textClip;
};

// The width the text is measured in (word-wrapped): what the glyph leaves of
// the area.
int32_t TextMeasureWidth(const Rect& area, std::optional<Size> glyph);

// The glyph's inset from the left edge at 96 DPI; on another display the
// button passes it scaled to the display's DPI.
inline constexpr int32_t kGlyphInset = 4;

// Places glyph and text in `area` (divisions truncate toward zero):
// with both, free = area width - glyph width - text width - 2 * inset; the
// glyph starts `inset` pixels in (inset + free / 2 when free is negative) and the text
// free / 2 after the glyph (right after it when free is negative), each
// centred vertically when lower than the area. A single item is centred in
// each direction where it is smaller than the area and cut to the area where
// it is not. A pressed button moves both one pixel right and down.
ContentPlacement PlaceContent(const Rect& area, std::optional<Size> glyph,
                              std::optional<Size> text, bool pressed, int32_t inset = kGlyphInset);

// The colour of a disabled button's text: grey text, unless the system's grey
// text colour cannot be told from the face or the normal text, then the
// button shadow colour.
ColorRef DisabledTextColor(ColorRef grayText, ColorRef buttonFace, ColorRef buttonText,
                           ColorRef buttonShadow);

}  // namespace orvalen
