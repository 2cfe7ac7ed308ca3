#include "orvalenx/bmp_decoder.h"

#include <algorithm>
#include <cstring>
#include <optional>
#include <vector>

#include "base/byte_order.h"
#include "orvalenx/channel_scaler.h"
#include "orvalenx/dib_layout.h"

namespace orvalen {
namespace {

struct BmpHeader {
  int32_t width = 0;
  int32_t height = 0;  // always positive; topDown tells the row order
  bool topDown = false;
  int32_t bitsPerPixel = 0;
  uint32_t compression = kBiRgb;
  uint32_t masks[3] = {0, 0, 0};
  uint32_t clrUsed = 0;
  size_t headerEnd = 0;      // first byte after the header and any separate masks
  int32_t paletteEntries = 0;
  size_t paletteEntrySize = 4;
};

bool ValidBitCount(int32_t bits) {
  return bits == 1 || bits == 4 || bits == 8 || bits == 16 || bits == 24 || bits == 32;
}

std::optional<BmpHeader> ReadInfoHeader(std::span<const uint8_t> file, size_t at) {
  const uint8_t* d = file.data();
  const size_t n = file.size();
  if (at > n || n - at < 12) return std::nullopt;
  const uint32_t size = ReadLe32(d + at);
  BmpHeader h;
  int64_t height = 0;
  if (size == 12) {
    h.width = ReadLe16(d + at + 4);
    height = ReadLe16(d + at + 6);
    h.bitsPerPixel = ReadLe16(d + at + 10);
    h.paletteEntrySize = 3;
  } else if (size == 16 || size == 40 || size == 52 || size == 56 || size == 64 || size == 108 ||
             size == 124) {
    if (n - at < size) return std::nullopt;
    h.width = ReadLeS32(d + at + 4);
    height = ReadLeS32(d + at + 8);
    h.bitsPerPixel = ReadLe16(d + at + 14);
    if (size >= 20) h.compression = ReadLe32(d + at + 16);
    if (size >= 36) h.clrUsed = ReadLe32(d + at + 32);
    // OS/2 2.x gives 3 and 4 other meanings (Huffman 1D, RLE24); neither is read.
    if ((size == 16 || size == 64) && h.compression > kBiRle4) return std::nullopt;
  } else {
    return std::nullopt;
  }
  h.headerEnd = at + size;
  if (height < 0) {
    h.topDown = true;
    height = -height;
  }
  if (h.width <= 0 || height <= 0 || h.width > kMaxDibDimension || height > kMaxDibDimension) return std::nullopt;
  h.height = static_cast<int32_t>(height);
  if (!ValidBitCount(h.bitsPerPixel)) return std::nullopt;

  switch (h.compression) {
    case kBiRgb:
      break;
    case kBiRle8:
    case kBiRle4:
      // Compressed rows are always stored bottom-up.
      if (h.bitsPerPixel != (h.compression == kBiRle8 ? 8 : 4) || h.topDown) return std::nullopt;
      break;
    case kBiBitfields:
    case kBiAlphaBitfields: {
      if (h.bitsPerPixel != 16 && h.bitsPerPixel != 32) return std::nullopt;
      size_t maskAt = at + 40;
      if (size == 40) {
        // The masks follow the info header: three, or four with alpha.
        const size_t maskBytes = h.compression == kBiAlphaBitfields ? 16 : 12;
        if (n - h.headerEnd < maskBytes) return std::nullopt;
        h.headerEnd += maskBytes;
      } else if (size < 52) {
        return std::nullopt;
      }
      for (int i = 0; i < 3; ++i) h.masks[i] = ReadLe32(d + maskAt + 4 * i);
      break;
    }
    default:
      return std::nullopt;
  }

  if (h.bitsPerPixel <= 8) {
    const uint32_t full = 1u << h.bitsPerPixel;
    if (h.clrUsed > full) return std::nullopt;
    h.paletteEntries = static_cast<int32_t>(h.clrUsed ? h.clrUsed : full);
  }
  return h;
}

void WritePalette(const BmpHeader& h, const uint8_t* palette, const DibBlock& dib) {
  RgbQuad* table = dib.ColorTable();
  const int32_t full = 1 << h.bitsPerPixel;
  for (int32_t i = 0; i < full; ++i) {
    if (i < h.paletteEntries) {
      const uint8_t* e = palette + static_cast<size_t>(i) * h.paletteEntrySize;
      table[i] = RgbQuad{e[0], e[1], e[2], 0};
    } else {
      table[i] = RgbQuad{};
    }
  }
}

bool DecodeUncompressed(const BmpHeader& h, std::span<const uint8_t> pixels, const DibBlock& dib) {
  const uint64_t srcStride = ((static_cast<uint64_t>(h.width) * h.bitsPerPixel + 31) / 32) * 4;
  const uint64_t rowBytes = (static_cast<uint64_t>(h.width) * h.bitsPerPixel + 7) / 8;
  // The last row may lack its padding; every pixel must be there.
  if ((static_cast<uint64_t>(h.height) - 1) * srcStride + rowBytes > pixels.size()) return false;
  const int32_t w = h.width;
  const DibLayout& out = dib.Layout();

  const bool bitfields = h.compression == kBiBitfields || h.compression == kBiAlphaBitfields;
  uint32_t masks[3] = {0x7C00, 0x03E0, 0x001F};
  if (h.bitsPerPixel == 32) {
    masks[0] = 0xFF0000;
    masks[1] = 0x00FF00;
    masks[2] = 0x0000FF;
  }
  if (bitfields) std::copy(h.masks, h.masks + 3, masks);
  const bool plain32 =
      h.bitsPerPixel == 32 && masks[0] == 0xFF0000 && masks[1] == 0x00FF00 && masks[2] == 0x0000FF;
  std::optional<ChannelScaler> red, green, blue;
  if (h.bitsPerPixel == 16 || (h.bitsPerPixel == 32 && !plain32)) {
    red.emplace(masks[0]);
    green.emplace(masks[1]);
    blue.emplace(masks[2]);
  }

  if ((h.bitsPerPixel <= 8 || h.bitsPerPixel == 24) && !h.topDown && out.stride == static_cast<int32_t>(rowBytes)) {
    // Same layout and no padding: one copy of all rows, which runs at full
    // speed whatever the alignment of the rows in the file.
    std::memcpy(dib.Bits(), pixels.data(), static_cast<size_t>((h.height - 1) * srcStride + rowBytes));
    return true;
  }
  // Row by row in the block's memory order, each row's padding cleared as it
  // is written, so the block is filled in one pass from its start.
  for (int32_t y = 0; y < h.height; ++y) {
    uint8_t* dst = dib.Row(y);
    const uint8_t* src = pixels.data() + static_cast<size_t>(h.topDown ? h.height - 1 - y : y) * srcStride;
    if (h.bitsPerPixel <= 8 || h.bitsPerPixel == 24) {
      std::memcpy(dst, src, rowBytes);
      std::memset(dst + rowBytes, 0, out.stride - rowBytes);
      continue;
    }
    std::memset(dst + static_cast<size_t>(w) * 3, 0, out.stride - static_cast<size_t>(w) * 3);
    if (plain32) {
      for (int32_t x = 0; x < w; ++x, src += 4, dst += 3) {
        dst[0] = src[0];
        dst[1] = src[1];
        dst[2] = src[2];
      }
    } else if (h.bitsPerPixel == 32) {
      for (int32_t x = 0; x < w; ++x, src += 4, dst += 3) {
        const uint32_t p = ReadLe32(src);
        dst[0] = (*blue)(p);
        dst[1] = (*green)(p);
        dst[2] = (*red)(p);
      }
    } else {
      for (int32_t x = 0; x < w; ++x, src += 2, dst += 3) {
        const uint32_t p = ReadLe16(src);
        dst[0] = (*blue)(p);
        dst[1] = (*green)(p);
        dst[2] = (*red)(p);
      }
    }
  }
  return true;
}

inline void SetNibble(uint8_t* row, int64_t x, uint8_t value) {
  uint8_t& b = row[x >> 1];
  b = (x & 1) ? static_cast<uint8_t>((b & 0xF0) | value) : static_cast<uint8_t>((b & 0x0F) | (value << 4));
}

// Run-length rows (BI_RLE8, BI_RLE4): pairs of count and value, or an escape
// (0 then 0 end of line, 1 end of bitmap, 2 delta right and up, n >= 3 an
// absolute run of n pixels padded to a 16-bit boundary). Pixels a run puts
// beyond the row are dropped; rows never written stay colour 0. Data that
// ends before the end code (or the last row) is a damaged file.
//
// The position only moves forward through the block (rows are stored bottom
// up, as the block holds them), so the block is filled in one pass: the bytes
// a run skips, and the rest of the block at the end, are cleared just before
// the next write instead of clearing the whole block first.
bool DecodeRle(const BmpHeader& h, std::span<const uint8_t> data, const DibBlock& dib) {
  const bool four = h.compression == kBiRle4;
  const int64_t w = h.width;
  const int64_t height = h.height;
  const uint8_t* d = data.data();
  const size_t n = data.size();
  uint8_t* const bits = dib.Bits();
  const size_t stride = static_cast<size_t>(dib.Layout().stride);
  size_t filled = 0;  // bytes before this offset are written or cleared
  auto clearUpTo = [&](size_t offset) {
    if (offset > filled) {
      std::memset(bits + filled, 0, offset - filled);
      filled = offset;
    }
  };
  auto finish = [&] {
    clearUpTo(dib.Layout().imageBytes);
    return true;
  };
  size_t pos = 0;
  int64_t x = 0;
  int64_t y = 0;
  while (true) {
    if (n - pos < 2) return false;
    const uint8_t a = d[pos];
    const uint8_t b = d[pos + 1];
    pos += 2;
    const size_t rowOffset = static_cast<size_t>(y) * stride;
    uint8_t* row = bits + rowOffset;
    if (a != 0) {
      if (x < w) {
        const int64_t count = std::min<int64_t>(a, w - x);
        if (four) {
          // Nibbles are set into bytes cleared just before; the first may
          // already hold the previous run's last pixel.
          clearUpTo(rowOffset + static_cast<size_t>((x + count + 1) >> 1));
          const uint8_t hi = b >> 4;
          const uint8_t lo = b & 0x0F;
          for (int64_t i = 0; i < count; ++i) SetNibble(row, x + i, (i & 1) ? lo : hi);
        } else {
          clearUpTo(rowOffset + static_cast<size_t>(x));
          std::memset(row + x, b, static_cast<size_t>(count));
          filled = rowOffset + static_cast<size_t>(x + count);
        }
      }
      x = std::min<int64_t>(x + a, w);
      continue;
    }
    switch (b) {
      case 0:
        x = 0;
        if (++y >= height) return finish();
        break;
      case 1:
        return finish();
      case 2:
        if (n - pos < 2) return false;
        x = std::min<int64_t>(x + d[pos], w);
        y += d[pos + 1];
        pos += 2;
        if (y >= height) return finish();
        break;
      default: {
        const size_t bytes = four ? (b + 1u) / 2 : b;
        if (n - pos < bytes) return false;
        const uint8_t* src = d + pos;
        if (x < w) {
          const int64_t count = std::min<int64_t>(b, w - x);
          if (four) {
            clearUpTo(rowOffset + static_cast<size_t>((x + count + 1) >> 1));
            for (int64_t i = 0; i < count; ++i) {
              const uint8_t v = src[i >> 1];
              SetNibble(row, x + i, (i & 1) ? (v & 0x0F) : (v >> 4));
            }
          } else {
            clearUpTo(rowOffset + static_cast<size_t>(x));
            std::memcpy(row + x, src, static_cast<size_t>(count));
            filled = rowOffset + static_cast<size_t>(x + count);
          }
        }
        x = std::min<int64_t>(x + b, w);
        pos += std::min(n - pos, (bytes + 1) & ~size_t{1});
        break;
      }
    }
  }
}

void* DecodePixels(const BmpHeader& h, const uint8_t* palette, std::span<const uint8_t> pixels,
                   BlockAllocator& allocator) {
  const int32_t outBits = h.bitsPerPixel <= 8 ? h.bitsPerPixel : 24;
  const int32_t colors = outBits == 24 ? 0 : (1 << outBits);
  const auto layout = PlanDib(h.width, h.height, outBits, colors);
  if (!layout) return nullptr;
  // Refuse before allocating when the data cannot hold the rows.
  if (h.compression == kBiRgb || h.compression == kBiBitfields || h.compression == kBiAlphaBitfields) {
    const uint64_t srcStride = ((static_cast<uint64_t>(h.width) * h.bitsPerPixel + 31) / 32) * 4;
    if ((static_cast<uint64_t>(h.height) - 1) * srcStride >= pixels.size()) return nullptr;
  } else if (pixels.size() < 2) {
    return nullptr;
  }
  DibBlock dib = DibBlock::Create(allocator, *layout);
  if (!dib) return nullptr;
  if (colors) WritePalette(h, palette, dib);
  const bool ok = (h.compression == kBiRle8 || h.compression == kBiRle4) ? DecodeRle(h, pixels, dib)
                                                                         : DecodeUncompressed(h, pixels, dib);
  return ok ? dib.Release() : nullptr;
}

}  // namespace

bool LooksLikeBmpFile(std::span<const uint8_t> file) {
  return file.size() >= 2 && file[0] == 'B' && file[1] == 'M';
}

bool LooksLikePackedDib(std::span<const uint8_t> file) {
  if (file.size() < 16) return false;
  const uint32_t size = ReadLe32(file.data());
  return size == 12 || size == 40 || size == 52 || size == 56 || size == 108 || size == 124;
}

void* DecodeBmpFile(std::span<const uint8_t> file, BlockAllocator& allocator) {
  if (file.size() < 14 + 12 || !LooksLikeBmpFile(file)) return nullptr;
  const uint32_t offBits = ReadLe32(file.data() + 10);
  const auto h = ReadInfoHeader(file, 14);
  if (!h) return nullptr;
  const size_t paletteBytes = static_cast<size_t>(h->paletteEntries) * h->paletteEntrySize;
  if (file.size() - h->headerEnd < paletteBytes) return nullptr;
  // The rows may not start inside the header or the colour table, nor past the end.
  if (offBits < h->headerEnd + paletteBytes || offBits > file.size()) return nullptr;
  return DecodePixels(*h, file.data() + h->headerEnd, file.subspan(offBits), allocator);
}

void* DecodePackedDibFile(std::span<const uint8_t> file, BlockAllocator& allocator) {
  if (!LooksLikePackedDib(file)) return nullptr;
  const auto h = ReadInfoHeader(file, 0);
  if (!h) return nullptr;
  // Without a file header the rows follow the colour table, which for 16, 24
  // and 32 bits still holds biClrUsed entries.
  const uint64_t entries = h->bitsPerPixel <= 8 ? h->paletteEntries : h->clrUsed;
  const uint64_t tableBytes = entries * h->paletteEntrySize;
  if (file.size() - h->headerEnd < tableBytes) return nullptr;
  const size_t bits = h->headerEnd + static_cast<size_t>(tableBytes);
  return DecodePixels(*h, file.data() + h->headerEnd, file.subspan(bits), allocator);
}

}  // namespace orvalen
