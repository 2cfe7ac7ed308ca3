// The histogram, quantizer and palette mapping. Mode 0 hands them the input
// as a packed DIB block, as a hostile caller could; mode 1 builds a valid
// picture from the input and checks the results: no more colours than asked,
// every mapped pixel within the inverse map's bound of its nearest palette
// colour, and exactly its own colour when that is in the palette.
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "fuzz/fuzz_allocator.h"
#include "orvalenx/color_histogram.h"
#include "orvalenx/dib_layout.h"
#include "orvalenx/nearest_color.h"
#include "orvalenx/palette_mapping.h"

using namespace orvalen;

namespace {

void MapAndCheck(const uint8_t* dib, size_t size, const RgbQuad* palette, int count, bool verify) {
  FuzzAllocator allocator;
  void* mapped = MapToPalette(dib, size, std::span<const RgbQuad>(palette, count), allocator);
  if (mapped == nullptr) return;
  const auto out = ParsePackedDib(static_cast<const uint8_t*>(mapped), allocator.SizeOf(mapped));
  if (!out || out->bitsPerPixel != 8 || out->colorCount != count) std::abort();
  if (verify) {
    const auto in = ParsePackedDib(dib, size);
    for (int32_t y = 0; y < in->height; ++y) {
      const uint8_t* src = dib + in->bitsOffset + static_cast<size_t>(y) * in->stride;
      const uint8_t* dst = static_cast<const uint8_t*>(mapped) + out->bitsOffset + static_cast<size_t>(y) * out->stride;
      for (int32_t x = 0; x < in->width; ++x) {
        const uint8_t r = src[3 * x + 2], g = src[3 * x + 1], b = src[3 * x];
        const uint8_t best = NearestColorMap::NearestByScan(std::span<const RgbQuad>(palette, count), r, g, b);
        auto distance = [&](const RgbQuad& p) {
          return std::sqrt(double((p.red - r) * (p.red - r) + (p.green - g) * (p.green - g) + (p.blue - b) * (p.blue - b)));
        };
        if (dst[x] >= count) std::abort();
        const double extra = distance(palette[dst[x]]) - distance(palette[best]);
        if (extra > NearestColorMap::kMaxExtraDistance) std::abort();
        if (distance(palette[best]) == 0 && distance(palette[dst[x]]) != 0) std::abort();
      }
    }
  }
  allocator.Free(mapped);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size < 3) return 0;
  const int maxColors = data[1] + 1;
  RgbQuad palette[256];
  if ((data[0] & 1) == 0) {
    ColorHistogram histogram;
    histogram.AddDib(data + 2, size - 2);
    const int count = histogram.Quantize(maxColors, palette);
    if (count < 0 || count > maxColors) std::abort();
    if (count == 0) {
      palette[0] = MakeQuad(data[2], data[2], data[2]);
      MapAndCheck(data + 2, size - 2, palette, 1, false);
    } else {
      MapAndCheck(data + 2, size - 2, palette, count, false);
    }
    return 0;
  }
  // A 24-bit picture of the remaining bytes, width from data[2].
  const uint8_t* pixels = data + 3;
  const size_t pixelCount = (size - 3) / 3;
  const int32_t width = 1 + data[2] % 64;
  const int32_t height = static_cast<int32_t>(pixelCount / width);
  if (height == 0) return 0;
  const auto layout = PlanDib(width, height, 24, 0);
  HeapAllocator heap;
  DibBlock dib = DibBlock::Create(heap, *layout);
  for (int32_t y = 0; y < height; ++y) {
    uint8_t* row = dib.Row(y);
    std::memset(row, 0, layout->stride);
    std::memcpy(row, pixels + static_cast<size_t>(y) * width * 3, static_cast<size_t>(width) * 3);
  }
  const uint8_t* block = static_cast<const uint8_t*>(dib.Release());
  ColorHistogram histogram;
  if (!histogram.AddDib(block, layout->totalBytes)) std::abort();
  const int count = histogram.Quantize(maxColors, palette);
  if (count < 1 || count > maxColors) std::abort();
  uint8_t logPalette[kLogPaletteBytes];
  WriteLogPalette(logPalette, std::span<const RgbQuad>(palette, count));
  if (ReadLogPalette(logPalette) != std::vector<RgbQuad>(palette, palette + count)) std::abort();
  MapAndCheck(block, layout->totalBytes, palette, count, true);
  heap.Free(const_cast<uint8_t*>(block));
  return 0;
}
