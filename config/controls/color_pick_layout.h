#pragma once
// The colour-pick button's picture: the drop-down arrow against the right
// edge, the colour swatch left of it and a shadow line between them; and the
// custom colours its colour dialog offers.
#include <array>

#include "base/geometry.h"
#include "config/controls/glyph_button_layout.h"

namespace orvalen {

struct ColorPickPlacement {
  Rect glyph;   // the arrow, 3 pixels in from the right edge, centred vertically
  Rect swatch;  // from (5,5) to 10 pixels left of the arrow and 4 above the bottom
  int32_t lineX = 0;  // the shadow line, 4 pixels right of the swatch, over its height
  int32_t lineTop = 0;
  int32_t lineBottom = 0;
};

// Swatch and arrow move one pixel right and down while the button is pressed.
ColorPickPlacement PlaceColorPick(const Rect& client, Size glyph, bool pressed);

// The custom colours of the colour dialog, in order: four olive, four blue,
// four teal and four red shades.
extern const std::array<ColorRef, 16> kColorPickCustomColors;

// The control id whose colour choice is announced to the parent, and the
// command it posts then.
constexpr int kAnnouncingColorPickId = 555;

}  // namespace orvalen
