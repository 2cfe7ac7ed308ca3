#include "orvalenx/palette_mapping.h"

#include <array>
#include <vector>

#include "orvalenx/dib_pixels.h"
#include "orvalenx/nearest_color.h"

namespace orvalen {

void* MapToPalette(const uint8_t* block, size_t size, std::span<const RgbQuad> palette, BlockAllocator& allocator) {
  if (palette.empty() || palette.size() > 256) return nullptr;
  const auto pixels = DibPixels::Open(block, size);
  if (!pixels) return nullptr;
  const DibInfo& info = pixels->Info();
  const auto layout = PlanDib(info.width, info.height, 8, static_cast<int32_t>(palette.size()));
  if (!layout) return nullptr;
  DibBlock dib = DibBlock::Create(allocator, *layout);
  if (!dib) return nullptr;
  RgbQuad* table = dib.ColorTable();
  for (size_t i = 0; i < palette.size(); ++i) table[i] = RgbQuad{palette[i].blue, palette[i].green, palette[i].red, 0};

  const int32_t w = info.width;
  const size_t pad = static_cast<size_t>(layout->stride - w);
  if (pixels->Indexed()) {
    // Every source value maps through one table.
    std::array<uint8_t, 256> remap{};
    NearestColorMap nearest(palette);
    for (uint32_t i = 0; i < 256; ++i) {
      const RgbQuad c = pixels->Color(i);
      remap[i] = nearest.Nearest(c.red, c.green, c.blue);
    }
    for (int32_t y = 0; y < info.height; ++y) {
      uint8_t* out = dib.Row(y);
      pixels->IndexRow(y, out);
      for (int32_t x = 0; x < w; ++x) out[x] = remap[out[x]];
      for (size_t k = 0; k < pad; ++k) out[w + k] = 0;
    }
    return dib.Release();
  }
  NearestColorMap nearest(palette);
  std::vector<uint8_t> scratch(static_cast<size_t>(w) * 3);
  for (int32_t y = 0; y < info.height; ++y) {
    const uint8_t* p = pixels->BgrRow(y, scratch.data());
    uint8_t* out = dib.Row(y);
    for (int32_t x = 0; x < w; ++x, p += 3) out[x] = nearest.Nearest(p[2], p[1], p[0]);
    for (size_t k = 0; k < pad; ++k) out[w + k] = 0;
  }
  return dib.Release();
}

}  // namespace orvalen
