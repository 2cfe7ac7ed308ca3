#pragma once
// A view of the pixel rows of a device-independent bitmap: rows in memory
// order (row 0 is the bottom row of the picture), each `stride` bytes apart.
#include <cstddef>
#include <cstdint>
#include <limits>
#include <optional>

namespace orvalen {

// Row stride and pixel bytes of a DIB of a given size.
struct DibRowSize {
  int32_t stride = 0;
  uint64_t imageBytes = 0;
};

// The rows of a DIB of `width` x `height` pixels at `bitsPerPixel`, for sizes
// read from a header or asked for by a caller: nullopt unless width and
// height are 0 to INT32_MAX, the bit count is 1 to 32 and the stride fits a
// 32-bit int. The checks come before any multiplication, so a size whose
// stride would wrap (width 1431655765 at 24 bits gives 2^32) is refused
// instead of narrowed to a small stride that passes the block-size checks.
constexpr std::optional<DibRowSize> DibRowSizeFor(int64_t width, int64_t height, int64_t bitsPerPixel) {
  constexpr int64_t kMax = std::numeric_limits<int32_t>::max();
  if (width < 0 || width > kMax || height < 0 || height > kMax) return std::nullopt;
  if (bitsPerPixel < 1 || bitsPerPixel > 32) return std::nullopt;
  // At most 2^31 x 2^5 bits: far inside 64 bits.
  const int64_t stride = ((width * bitsPerPixel + 31) / 32) * 4;
  if (stride > kMax) return std::nullopt;
  return DibRowSize{static_cast<int32_t>(stride), static_cast<uint64_t>(stride) * static_cast<uint64_t>(height)};
}

struct DibView {
  uint8_t* bits = nullptr;
  int32_t width = 0;
  int32_t height = 0;
  int32_t bitsPerPixel = 24;
  int32_t stride = 0;

  // Row stride of a packed DIB: rows padded to a multiple of 4 bytes. Only
  // for sizes already accepted by DibRowSizeFor (or bounded below it): the
  // result is narrowed to 32 bits unchecked.
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
