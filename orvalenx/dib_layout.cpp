#include "orvalenx/dib_layout.h"

#include <cstring>

#include "base/byte_order.h"

namespace orvalen {

int32_t ColorCountOf(int32_t bitsPerPixel, uint32_t clrUsed) {
  if (clrUsed != 0) return static_cast<int32_t>(clrUsed);
  switch (bitsPerPixel) {
    case 1: return 2;
    case 4: return 16;
    case 8: return 256;
    case 16:
    case 24:
    case 32: return 0;
    default: return -1;
  }
}

std::optional<DibLayout> PlanDib(int64_t width, int64_t height, int32_t bitsPerPixel, int32_t colorCount) {
  if (width <= 0 || height <= 0 || width > kMaxDibDimension || height > kMaxDibDimension) return std::nullopt;
  if (bitsPerPixel != 1 && bitsPerPixel != 4 && bitsPerPixel != 8 && bitsPerPixel != 24) return std::nullopt;
  const int32_t maxColors = bitsPerPixel == 24 ? 0 : (1 << bitsPerPixel);
  if (colorCount < 0 || colorCount > maxColors) return std::nullopt;
  if (bitsPerPixel != 24 && colorCount == 0) return std::nullopt;
  DibLayout layout;
  layout.width = static_cast<int32_t>(width);
  layout.height = static_cast<int32_t>(height);
  layout.bitsPerPixel = bitsPerPixel;
  layout.colorCount = colorCount;
  const auto rows = DibRowSizeFor(width, height, bitsPerPixel);
  if (!rows) return std::nullopt;
  layout.stride = rows->stride;
  layout.bitsOffset = kInfoHeaderSize + static_cast<size_t>(colorCount) * 4;
  if (rows->imageBytes > kMaxDibBlockBytes - layout.bitsOffset) return std::nullopt;
  layout.imageBytes = static_cast<size_t>(rows->imageBytes);
  layout.totalBytes = layout.bitsOffset + layout.imageBytes;
  return layout;
}

DibBlock DibBlock::Create(BlockAllocator& allocator, const DibLayout& layout) {
  DibBlock dib;
  dib.layout_ = layout;
  dib.block_ = OwnedBlock(allocator, layout.totalBytes);
  if (!dib.block_) return dib;
  uint8_t* h = dib.block_.Data();
  std::memset(h, 0, kInfoHeaderSize);
  WriteLe32(h + 0, kInfoHeaderSize);
  WriteLe32(h + 4, static_cast<uint32_t>(layout.width));
  WriteLe32(h + 8, static_cast<uint32_t>(layout.height));
  WriteLe16(h + 12, 1);
  WriteLe16(h + 14, static_cast<uint16_t>(layout.bitsPerPixel));
  WriteLe32(h + 16, kBiRgb);
  WriteLe32(h + 20, static_cast<uint32_t>(layout.imageBytes));
  WriteLe32(h + 32, static_cast<uint32_t>(layout.colorCount));
  WriteLe32(h + 36, 0);
  return dib;
}

std::optional<DibInfo> ParsePackedDib(const uint8_t* block, size_t size) {
  if (block == nullptr || size < kInfoHeaderSize) return std::nullopt;
  if (ReadLe32(block) != kInfoHeaderSize) return std::nullopt;
  DibInfo info;
  info.width = ReadLeS32(block + 4);
  info.height = ReadLeS32(block + 8);
  info.bitsPerPixel = ReadLe16(block + 14);
  info.compression = ReadLe32(block + 16);
  // Size, bit count and colour count are checked before anything is computed
  // from them: a bit count that is no pixel format (0, 3, 64) gives rows of
  // no bytes, or of bytes no reader of the block would read as pixels.
  const auto rows = DibRowSizeFor(info.width, info.height, info.bitsPerPixel);
  if (!rows) return std::nullopt;
  const int32_t bits = info.bitsPerPixel;
  if (bits != 1 && bits != 4 && bits != 8 && bits != 16 && bits != 24 && bits != 32) return std::nullopt;
  if (info.compression != kBiRgb && info.compression != kBiBitfields) return std::nullopt;
  const uint32_t clrUsed = ReadLe32(block + 32);
  if (clrUsed > 65536) return std::nullopt;
  info.colorCount = ColorCountOf(info.bitsPerPixel, clrUsed);
  info.colorTableOffset = kInfoHeaderSize + (info.compression == kBiBitfields ? 12 : 0);
  info.bitsOffset = info.colorTableOffset + static_cast<size_t>(info.colorCount) * 4;
  info.stride = rows->stride;
  if (rows->imageBytes > size || info.bitsOffset > size - rows->imageBytes) return std::nullopt;
  return info;
}

}  // namespace orvalen
