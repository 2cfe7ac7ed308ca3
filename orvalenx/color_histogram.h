#pragma once
// The colour histogram behind the library's palette functions, and the
// quantizer that picks a palette from it.
//
// Colours are counted in 32 x 32 x 32 cells (5 bits per channel) that keep,
// per cell, the pixel count, the sums of red, green and blue and the sum of
// squares, so cell means and variances are exact. The palette is found with
// Wu's variance-minimising cuts over the cumulative moments, then refined
// once by moving each colour to the mean of the cells nearest to it. A picture whose
// colours each sit alone in a cell and number no more than asked gets exactly
// its own colours.
#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

#include "orvalenx/dib_layout.h"
#include "orvalenx/dib_pixels.h"

namespace orvalen {

class ColorHistogram {
 public:
  static constexpr int kLevels = 32;
  static constexpr int kMaxColors = 256;

  ColorHistogram();

  // Counts every pixel of a packed DIB; false (nothing counted) for a block
  // that is not one DibPixels reads.
  bool AddDib(const uint8_t* block, size_t size);
  void AddPixels(const DibPixels& pixels);
  void AddColor(uint8_t red, uint8_t green, uint8_t blue, uint64_t count);
  uint64_t PixelCount() const { return pixels_; }

  // Picks at most maxColors (clamped to 1..256) colours into `palette`
  // (room for 256) and returns how many; 0 for an empty histogram or a
  // maximum of 0.
  int Quantize(int maxColors, RgbQuad* palette) const;

 private:
  struct Cell {
    uint64_t weight = 0;
    uint64_t red = 0;
    uint64_t green = 0;
    uint64_t blue = 0;
    uint64_t squares = 0;
  };
  static int CellOf(uint8_t r, uint8_t g, uint8_t b) { return ((r >> 3) << 10) | ((g >> 3) << 5) | (b >> 3); }

  std::vector<Cell> cells_;
  uint64_t pixels_ = 0;
};

// The LOGPALETTE the library fills and reads: version 0x300, entry count,
// then red, green, blue, flags per entry.
inline constexpr size_t kLogPaletteBytes = 4 + 4 * 256;
void WriteLogPalette(uint8_t* buffer, std::span<const RgbQuad> colors);
// The entries of a LOGPALETTE; empty when its count is not 1..256.
std::vector<RgbQuad> ReadLogPalette(const uint8_t* buffer);

}  // namespace orvalen
