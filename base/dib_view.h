#pragma once
// A view of the pixel rows of a device-independent bitmap: rows in memory
// order (row 0 is the bottom row of the picture), each `stride` bytes apart.
#include <cstddef>
#include <cstdint>

namespace orvalen {

struct DibView {
  uint8_t* bits = nullptr;
  int32_t width = 0;
  int32_t height = 0;
  int32_t bitsPerPixel = 24;
  int32_t stride = 0;

  // Row stride of a packed DIB: rows padded to a multiple of 4 bytes.
  static constexpr int32_t StrideFor(int32_t width, int32_t bitsPerPixel) {
    return static_cast<int32_t>(((static_cast<int64_t>(width) * bitsPerPixel + 31) / 32) * 4);
  }

  uint8_t* Row(int32_t y) const { return bits + static_cast<ptrdiff_t>(y) * stride; }
  // First byte of pixel (x, y): byte (x * bits per pixel) / 8 of row y.
  uint8_t* Pixel(int32_t x, int32_t y) const {
    return Row(y) + (static_cast<ptrdiff_t>(x) * bitsPerPixel) / 8;
  }
};

}  // namespace orvalen
