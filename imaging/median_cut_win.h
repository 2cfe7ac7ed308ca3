#pragma once
// TMedianCut drives the graphics library's histogram functions for one
// image: Calculate, Quantize once, optionally ApplyPalette, Reset. A local
// object, made and destroyed within one operation of its user.
//
// BuildDisplayPalette makes the 256-colour display palette a view keeps for
// its image on displays of 256 colours or fewer; DrawDibWithPalette draws an
// image with such a palette selected and realized.
#include <windows.h>

#include <cstdint>

#include "imaging/extended_dib_win.h"
#include "base/geometry.h"

namespace orvalen {

class TMedianCut {
 public:
  TMedianCut();
  ~TMedianCut();
  TMedianCut(const TMedianCut&) = delete;
  TMedianCut& operator=(const TMedianCut&) = delete;

  // Counts the image's colours; nothing once quantized or for images of
  // fewer than 4 bits per pixel. Raises "Out of memory" when the library
  // cannot make or fill the histogram.
  void Calculate(const TExtendedDib& image);
  // Chooses the palette on the first call and makes the GDI palette from it
  // (none for a count of 0); every call returns that first count.
  uint16_t Quantize(uint16_t maxColors);
  // Replaces the image by its version in the chosen palette. False, image
  // unchanged, unless quantized and the library delivered it.
  bool ApplyPalette(TExtendedDib& image);
  // Frees histogram, buffer and palette; back to the state after construction.
  void Reset();

  HPALETTE Palette() const { return palette_; }
  uint32_t ColorCount() const { return colorCount_; }

 private:
  DWORD histogram_ = 0;
  LOGPALETTE* buffer_ = nullptr;  // 4-byte header and 256 entries
  bool quantized_ = false;
  bool created_ = false;
  uint32_t colorCount_ = 0;
  HPALETTE palette_ = nullptr;
};

// A new GDI palette of the image's quantized colours, or null when the image
// gets none (fewer than 4 bits per pixel). The image is not changed; the
// caller owns the palette. May raise the image errors.
HPALETTE BuildDisplayPalette(TExtendedDib& image);

// Draws the image (or the part `source` of it, counted from its top-left)
// stretched to `dest` with StretchDIBits. A non-null palette is selected as
// foreground palette and realized first; afterwards the previous palette is
// selected back and realized again. Returns StretchDIBits' result (0 for an
// empty image).
int DrawDibWithPalette(HDC dc, HPALETTE palette, const Rect& dest, const TExtendedDib& image);
int DrawDibWithPalette(HDC dc, HPALETTE palette, const Rect& dest, const Rect& source, const TExtendedDib& image);

}  // namespace orvalen
