#include "config/controls/color_pick_layout.h"

namespace orvalen {

const std::array<ColorRef, 16> kColorPickCustomColors = {
    MakeColor(160, 160, 32), MakeColor(144, 128, 32), MakeColor(128, 128, 32),
    MakeColor(112, 112, 32), MakeColor(32, 32, 112),  MakeColor(32, 32, 128),
    MakeColor(32, 32, 144),  MakeColor(32, 32, 160),  MakeColor(32, 112, 112),
    MakeColor(32, 128, 128), MakeColor(32, 144, 144), MakeColor(32, 160, 160),
    MakeColor(112, 32, 32),  MakeColor(128, 32, 32),  MakeColor(144, 32, 32),
    MakeColor(160, 32, 32),
};

ColorPickPlacement PlaceColorPick(const Rect& client, Size glyph, bool pressed) {
  const int32_t shift = pressed ? 1 : 0;
  ColorPickPlacement p;
  const int32_t glyphLeft = client.right - 3 - glyph.width;
  const int32_t glyphTop = client.top + (client.Height() - glyph.height) / 2;
  p.glyph = Rect{glyphLeft + shift, glyphTop + shift, glyphLeft + glyph.width + shift,
                 glyphTop + glyph.height + shift};
  p.swatch = Rect{client.left + 5 + shift, client.top + 5 + shift, glyphLeft - 10 + shift,
                  client.bottom - 4 + shift};
  p.lineX = glyphLeft - 10 + 4;
  p.lineTop = client.top + 5;
  p.lineBottom = client.bottom - 4;
  return p;
}

}  // namespace orvalen
