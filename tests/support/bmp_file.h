#pragma once
// A 24-bit bottom-up BMP file made in a test, for the programs and the saver
// window to show.
#include <cstdint>
#include <string>

namespace orvalen::test_support {

struct Rgb {
  uint8_t r, g, b;
};

// The bytes of the file; `pixel(x, y)` gives the colour with y from the top.
template <typename PixelFunction>
std::string Bmp24File(int width, int height, PixelFunction pixel) {
  const int stride = (width * 3 + 3) & ~3;
  const uint32_t dataSize = static_cast<uint32_t>(stride * height);
  std::string file(54 + dataSize, '\0');
  auto put32 = [&](size_t at, uint32_t v) {
    for (int i = 0; i < 4; ++i) file[at + i] = static_cast<char>(v >> (8 * i));
  };
  file[0] = 'B';
  file[1] = 'M';
  put32(2, static_cast<uint32_t>(file.size()));
  put32(10, 54);
  put32(14, 40);
  put32(18, static_cast<uint32_t>(width));
  put32(22, static_cast<uint32_t>(height));
  file[26] = 1;
  file[28] = 24;
  put32(34, dataSize);
  for (int y = 0; y < height; ++y) {
    const size_t row = 54 + static_cast<size_t>(height - 1 - y) * stride;
    for (int x = 0; x < width; ++x) {
      const Rgb c = pixel(x, y);
      file[row + 3 * x] = static_cast<char>(c.b);
      file[row + 3 * x + 1] = static_cast<char>(c.g);
      file[row + 3 * x + 2] = static_cast<char>(c.r);
    }
  }
  return file;
}

}  // namespace orvalen::test_support
