#include "orvalenx/pcx_decoder.h"

#include <algorithm>
#include <cstring>
#include <vector>

#include "orvalenx/byte_order.h"
#include "orvalenx/dib_layout.h"

namespace orvalen {
namespace {

constexpr size_t kHeaderSize = 128;
constexpr size_t kTrailingPaletteSize = 769;  // marker 0x0C and 256 RGB triples

// The colours EGA boards start with, used by files that carry no table.
constexpr uint8_t kEgaPalette[16][3] = {
    {0, 0, 0},       {0, 0, 170},     {0, 170, 0},     {0, 170, 170},   {170, 0, 0},     {170, 0, 170},
    {170, 85, 0},    {170, 170, 170}, {85, 85, 85},    {85, 85, 255},   {85, 255, 85},   {85, 255, 255},
    {255, 85, 85},   {255, 85, 255},  {255, 255, 85},  {255, 255, 255}};

// Unpacks the run-length stream one scan line (all planes) at a time. A run
// may continue into the next line.
class RleReader {
 public:
  RleReader(const uint8_t* data, size_t size, bool encoded) : d_(data), n_(size), encoded_(encoded) {}

  bool ReadLine(uint8_t* out, size_t length) {
    size_t i = 0;
    if (!encoded_) {
      if (n_ - pos_ < length) return false;
      std::memcpy(out, d_ + pos_, length);
      pos_ += length;
      return true;
    }
    while (i < length) {
      if (runLeft_ != 0) {
        const size_t count = std::min(runLeft_, length - i);
        std::memset(out + i, runValue_, count);
        runLeft_ -= count;
        i += count;
        continue;
      }
      // Literal bytes: everything below 0xC0 stands for itself.
      while (i < length && pos_ < n_ && d_[pos_] < 0xC0) out[i++] = d_[pos_++];
      if (i == length) break;
      if (n_ - pos_ < 2) return false;
      runLeft_ = d_[pos_] & 0x3F;
      runValue_ = d_[pos_ + 1];
      pos_ += 2;
    }
    return true;
  }

 private:
  const uint8_t* d_;
  size_t n_;
  bool encoded_;
  size_t pos_ = 0;
  size_t runLeft_ = 0;
  uint8_t runValue_ = 0;
};

}  // namespace

bool LooksLikePcxFile(std::span<const uint8_t> file) {
  if (file.size() < 4 || file[0] != 0x0A) return false;
  const uint8_t version = file[1];
  const uint8_t encoding = file[2];
  const uint8_t bits = file[3];
  return (version == 0 || version == 2 || version == 3 || version == 4 || version == 5) &&
         (encoding == 0 || encoding == 1) && (bits == 1 || bits == 2 || bits == 4 || bits == 8);
}

void* DecodePcxFile(std::span<const uint8_t> file, BlockAllocator& allocator) {
  if (file.size() < kHeaderSize || !LooksLikePcxFile(file)) return nullptr;
  const uint8_t* h = file.data();
  const uint8_t version = h[1];
  const bool encoded = h[2] == 1;
  const int32_t bits = h[3];
  const int32_t xMin = ReadLe16(h + 4), yMin = ReadLe16(h + 6);
  const int32_t xMax = ReadLe16(h + 8), yMax = ReadLe16(h + 10);
  const int32_t planes = h[65];
  const size_t bytesPerLine = ReadLe16(h + 66);
  if (xMax < xMin || yMax < yMin) return nullptr;
  const int32_t width = xMax - xMin + 1;
  const int32_t height = yMax - yMin + 1;
  if (planes < 1 || planes > 4) return nullptr;
  // A plane line must hold the row; more (an even-length pad) is allowed.
  if (bytesPerLine == 0 || bytesPerLine < (static_cast<size_t>(width) * bits + 7) / 8) return nullptr;

  int32_t outBits = 0;
  const int32_t indexBits = bits * planes;
  if (bits == 8 && (planes == 3 || planes == 4)) {
    outBits = 24;
  } else if (bits == 8 && planes == 1) {
    outBits = 8;
  } else if (indexBits == 1) {
    outBits = 1;
  } else if (indexBits <= 4) {
    outBits = 4;
  } else {
    return nullptr;
  }
  const int32_t colors = outBits == 24 ? 0 : (1 << outBits);
  const auto layout = PlanDib(width, height, outBits, colors);
  if (!layout) return nullptr;

  size_t dataEnd = file.size();
  const uint8_t* trailingPalette = nullptr;
  if (outBits == 8 && file.size() >= kHeaderSize + kTrailingPaletteSize &&
      file[file.size() - kTrailingPaletteSize] == 0x0C) {
    dataEnd = file.size() - kTrailingPaletteSize;
    trailingPalette = file.data() + dataEnd + 1;
  }
  // Each encoded byte pair gives at most 63 bytes; refuse files far too short
  // for their claimed size before allocating the picture.
  const uint64_t lineLength = bytesPerLine * static_cast<uint64_t>(planes);
  const uint64_t dataBytes = dataEnd - kHeaderSize;
  if (lineLength * height > (encoded ? dataBytes * 32 : dataBytes)) return nullptr;

  DibBlock dib = DibBlock::Create(allocator, *layout);
  if (!dib) return nullptr;
  RgbQuad* table = dib.ColorTable();
  if (outBits == 8) {
    for (int32_t i = 0; i < 256; ++i) {
      table[i] = trailingPalette ? MakeQuad(trailingPalette[3 * i], trailingPalette[3 * i + 1], trailingPalette[3 * i + 2])
                                 : MakeQuad(static_cast<uint8_t>(i), static_cast<uint8_t>(i), static_cast<uint8_t>(i));
    }
  } else if (outBits == 1) {
    table[0] = MakeQuad(0, 0, 0);
    table[1] = MakeQuad(255, 255, 255);
  } else if (outBits == 4) {
    const int32_t used = 1 << indexBits;
    for (int32_t i = 0; i < 16; ++i) {
      if (i >= used) {
        table[i] = RgbQuad{};
      } else if (version == 3) {
        table[i] = MakeQuad(kEgaPalette[i][0], kEgaPalette[i][1], kEgaPalette[i][2]);
      } else {
        const uint8_t* e = h + 16 + 3 * i;
        table[i] = MakeQuad(e[0], e[1], e[2]);
      }
    }
  }

  std::vector<uint8_t> line(static_cast<size_t>(lineLength));
  RleReader reader(file.data() + kHeaderSize, dataEnd - kHeaderSize, encoded);
  const int32_t stride = layout->stride;
  for (int32_t y = 0; y < height; ++y) {
    if (!reader.ReadLine(line.data(), line.size())) return nullptr;
    uint8_t* dst = dib.RowFromTop(y);
    const uint8_t* l = line.data();
    if (outBits == 24) {
      const uint8_t* r = l;
      const uint8_t* g = l + bytesPerLine;
      const uint8_t* b = l + 2 * bytesPerLine;
      for (int32_t x = 0; x < width; ++x) {
        dst[3 * x] = b[x];
        dst[3 * x + 1] = g[x];
        dst[3 * x + 2] = r[x];
      }
      std::memset(dst + 3 * static_cast<size_t>(width), 0, stride - 3 * static_cast<size_t>(width));
    } else if (outBits == 8 || (outBits == 4 && bits == 4) || outBits == 1) {
      // One plane already packed as the DIB packs it.
      const size_t rowBytes = (static_cast<size_t>(width) * outBits + 7) / 8;
      std::memcpy(dst, l, rowBytes);
      std::memset(dst + rowBytes, 0, stride - rowBytes);
    } else {
      // Planes of 1 or 2 bits: plane p gives bits p*bits.. of the colour index.
      std::memset(dst, 0, stride);
      const uint32_t mask = (1u << bits) - 1;
      for (int32_t x = 0; x < width; ++x) {
        const size_t bitPos = static_cast<size_t>(x) * bits;
        const int shift = 8 - bits - static_cast<int>(bitPos & 7);
        uint32_t index = 0;
        for (int32_t p = 0; p < planes; ++p) {
          index |= ((l[p * bytesPerLine + (bitPos >> 3)] >> shift) & mask) << (p * bits);
        }
        dst[x >> 1] |= static_cast<uint8_t>((x & 1) ? index : index << 4);
      }
    }
  }
  return dib.Release();
}

}  // namespace orvalen
