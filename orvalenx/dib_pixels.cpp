#include "orvalenx/dib_pixels.h"

#include "base/byte_order.h"

namespace orvalen {

std::optional<DibPixels> DibPixels::Open(const uint8_t* block, size_t size) {
  const auto info = ParsePackedDib(block, size);
  if (!info) return std::nullopt;
  switch (info->bitsPerPixel) {
    case 1:
    case 4:
    case 8:
    case 24:
      if (info->compression != kBiRgb) return std::nullopt;
      break;
    case 16:
    case 32:
      break;
    default:
      return std::nullopt;
  }
  return DibPixels(block, *info);
}

DibPixels::DibPixels(const uint8_t* block, const DibInfo& info) : block_(block), info_(info) {
  if (info.bitsPerPixel != 16 && info.bitsPerPixel != 32) return;
  uint32_t masks[3] = {0x7C00, 0x03E0, 0x001F};
  if (info.bitsPerPixel == 32) {
    masks[0] = 0xFF0000;
    masks[1] = 0x00FF00;
    masks[2] = 0x0000FF;
  }
  if (info.compression == kBiBitfields) {
    for (int i = 0; i < 3; ++i) masks[i] = ReadLe32(block + kInfoHeaderSize + 4 * i);
  }
  plain32_ = info.bitsPerPixel == 32 && masks[0] == 0xFF0000 && masks[1] == 0x00FF00 && masks[2] == 0x0000FF;
  if (!plain32_) {
    red_.emplace(masks[0]);
    green_.emplace(masks[1]);
    blue_.emplace(masks[2]);
  }
}

RgbQuad DibPixels::Color(uint32_t index) const {
  if (index >= static_cast<uint32_t>(info_.colorCount)) return RgbQuad{};
  const uint8_t* e = block_ + info_.colorTableOffset + 4 * static_cast<size_t>(index);
  return RgbQuad{e[0], e[1], e[2], 0};
}

void DibPixels::IndexRow(int32_t y, uint8_t* out) const {
  const uint8_t* row = Row(y);
  const int32_t w = info_.width;
  switch (info_.bitsPerPixel) {
    case 8:
      for (int32_t x = 0; x < w; ++x) out[x] = row[x];
      break;
    case 4:
      for (int32_t x = 0; x < w; ++x) out[x] = (x & 1) ? (row[x >> 1] & 0x0F) : (row[x >> 1] >> 4);
      break;
    default:
      for (int32_t x = 0; x < w; ++x) out[x] = (row[x >> 3] >> (7 - (x & 7))) & 1;
      break;
  }
}

const uint8_t* DibPixels::BgrRow(int32_t y, uint8_t* scratch) const {
  const uint8_t* row = Row(y);
  const int32_t w = info_.width;
  if (info_.bitsPerPixel == 24) return row;
  uint8_t* out = scratch;
  if (info_.bitsPerPixel == 32 && plain32_) {
    for (int32_t x = 0; x < w; ++x, row += 4, out += 3) {
      out[0] = row[0];
      out[1] = row[1];
      out[2] = row[2];
    }
  } else {
    const int step = info_.bitsPerPixel / 8;
    for (int32_t x = 0; x < w; ++x, row += step, out += 3) {
      const uint32_t p = step == 2 ? ReadLe16(row) : ReadLe32(row);
      out[0] = (*blue_)(p);
      out[1] = (*green_)(p);
      out[2] = (*red_)(p);
    }
  }
  return scratch;
}

}  // namespace orvalen
