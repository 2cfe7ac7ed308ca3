#include "orvalenx/pcx_decoder.h"

#include <algorithm>
#include <bit>
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

  // `out` has room for length + 8 bytes.
  bool ReadLine(uint8_t* out, size_t length) {
    if (!encoded_) {
      if (n_ - pos_ < length) return false;
      std::memcpy(out, d_ + pos_, length);
      pos_ += length;
      return true;
    }
    size_t i = 0;
    if (runLeft_ != 0) {
      const size_t count = std::min(runLeft_, length);
      std::memset(out, runValue_, count);
      runLeft_ -= count;
      i = count;
    }
    // Photographs give mostly literal bytes and short runs (a value of 0xC0
    // or more must be written as a run of one). The fast loop takes eight
    // bytes at a time: the literals before the first run code are stored at
    // once, then the run, as four stores of which `count` are kept. Long runs
    // and runs into the next line take the slow way; so does the end of the
    // data, where the fast loop would read past it.
    static_assert(std::endian::native == std::endian::little, "the first byte is the word's lowest");
    const uint8_t* d = d_;
    size_t pos = pos_;
    while (i + 8 <= length && n_ - pos >= 16) {
      uint64_t word;
      std::memcpy(&word, d + pos, 8);
      const uint64_t codes = word & (word << 1) & 0x8080808080808080ull;  // bytes >= 0xC0
      std::memcpy(out + i, &word, 8);
      if (codes == 0) {
        i += 8;
        pos += 8;
        continue;
      }
      const size_t literals = static_cast<size_t>(std::countr_zero(codes)) >> 3;
      i += literals;
      pos += literals;
      const size_t count = d[pos] & 0x3Fu;
      const uint8_t value = d[pos + 1];
      pos += 2;
      if (count > 4 || count > length - i) {
        const size_t now = std::min(count, length - i);
        std::memset(out + i, value, now);
        i += now;
        if (now < count) {  // the run goes on in the next line
          runLeft_ = count - now;
          runValue_ = value;
          pos_ = pos;
          return true;
        }
        continue;
      }
      const uint32_t four = value * 0x01010101u;
      std::memcpy(out + i, &four, 4);
      i += count;
    }
    while (i < length && n_ - pos >= 2) {
      const uint8_t c = d[pos];
      if (c < 0xC0) {
        out[i++] = c;
        ++pos;
        continue;
      }
      const size_t count = c & 0x3Fu;
      const uint8_t value = d[pos + 1];
      pos += 2;
      const size_t now = std::min(count, length - i);
      std::memset(out + i, value, now);
      i += now;
      if (now < count) {
        runLeft_ = count - now;
        runValue_ = value;
      }
    }
    // The last byte of the data: a literal, or a run cut short.
    if (i < length && n_ - pos == 1 && d[pos] < 0xC0) {
      out[i++] = d[pos++];
    }
    pos_ = pos;
    return i == length;
  }

 private:
  const uint8_t* d_;
  size_t n_;
  bool encoded_;
  size_t pos_ = 0;
  size_t runLeft_ = 0;
  uint8_t runValue_ = 0;
};

// Blue, green, red triples from the three planes of a line; four pixels
// (three 32-bit words) at a time.
void InterleavePlanes(const uint8_t* r, const uint8_t* g, const uint8_t* b, int32_t width, uint8_t* out) {
  int32_t x = 0;
  for (; x + 4 <= width; x += 4, out += 12) {
    uint32_t r4, g4, b4;
    std::memcpy(&r4, r + x, 4);
    std::memcpy(&g4, g + x, 4);
    std::memcpy(&b4, b + x, 4);
    const uint32_t w0 = (b4 & 0xFF) | (g4 & 0xFF) << 8 | (r4 & 0xFF) << 16 | (b4 & 0xFF00) << 16;
    const uint32_t w1 = (g4 >> 8 & 0xFF) | (r4 & 0xFF00) | (b4 & 0xFF0000) | (g4 & 0xFF0000) << 8;
    const uint32_t w2 = (r4 >> 16 & 0xFF) | (b4 >> 16 & 0xFF00) | (g4 >> 8 & 0xFF0000) | (r4 & 0xFF000000);
    std::memcpy(out, &w0, 4);
    std::memcpy(out + 4, &w1, 4);
    std::memcpy(out + 8, &w2, 4);
  }
  for (; x < width; ++x, out += 3) {
    out[0] = b[x];
    out[1] = g[x];
    out[2] = r[x];
  }
}

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

  std::vector<uint8_t> line(static_cast<size_t>(lineLength) + 8);
  RleReader reader(file.data() + kHeaderSize, dataEnd - kHeaderSize, encoded);
  const int32_t stride = layout->stride;
  for (int32_t y = 0; y < height; ++y) {
    if (!reader.ReadLine(line.data(), static_cast<size_t>(lineLength))) return nullptr;
    uint8_t* dst = dib.RowFromTop(y);
    const uint8_t* l = line.data();
    if (outBits == 24) {
      InterleavePlanes(l, l + bytesPerLine, l + 2 * bytesPerLine, width, dst);
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
