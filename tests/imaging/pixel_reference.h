#pragma once
// Straight transcriptions of the pixel algorithms, in their literal loop
// order and with the formulas evaluated as written, against which the fast
// implementations are compared bit for bit.
#include <cstdint>
#include <vector>

#include "imaging/color_adjust.h"
#include "base/dib_view.h"

namespace orvalen::test {

// An image in memory with its view; rows padded as in a DIB.
struct TestImage {
  std::vector<uint8_t> bytes;
  DibView view;

  TestImage(int32_t width, int32_t height, int32_t bitsPerPixel = 24);
  void FillRandom(uint32_t seed);
  void Fill(uint8_t value);
  // Blue, green and red of a 24-bit pixel.
  uint8_t* At(int32_t x, int32_t y) { return view.Pixel(x, y); }
};

void ReferenceResampleSimple(const DibView& src, const DibView& dst);
// With a counter per destination pixel, each wide enough for any count.
void ReferenceResampleAccurate(const DibView& src, const DibView& dst);
void ReferenceEdges(const DibView& work, int32_t edges);

struct ReferencePass {
  const GammaTable* gamma = nullptr;
  float brightness = 0;
  bool grayscale = false;
  int32_t transition = 0;
  const DibView* frames = nullptr;  // four frames
  const DibView* oldScreen = nullptr;
};
void ReferencePixelPass(const DibView& work, const ReferencePass& pass);

}  // namespace orvalen::test
