#include "orvalenx/pcx_decoder.h"

#include <algorithm>
#include <bit>
#include <cstring>
#include <vector>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

#include "base/byte_order.h"
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

// Bit k set when byte k of the 64 at p is 0xC0 or more: a run code, or the
// value of a run.
inline uint64_t HighBytes(const uint8_t* p) {
  uint64_t mask = 0;
#if defined(__SSE2__)
  for (int k = 0; k < 4; ++k) {
    const __m128i x = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p + 16 * k));
    // Bits 7 and 6 both set: x & (x + x) has bit 7 set.
    const int bits = _mm_movemask_epi8(_mm_and_si128(x, _mm_add_epi8(x, x)));
    mask |= static_cast<uint64_t>(static_cast<uint32_t>(bits)) << (16 * k);
  }
#else
  for (int k = 0; k < 64; ++k) mask |= static_cast<uint64_t>(p[k] >= 0xC0) << k;
#endif
  return mask;
}

// Which of the bytes `high` marks are run codes, when byte 0 begins a code or
// a literal. A byte after one below 0xC0 (a literal or a run's value) always
// begins one, so each stretch of marked bytes starts with a code and goes on
// value, code, value...: the codes are the marked bytes at an even distance
// from the first of their stretch. Adding the stretch starts that lie at even
// positions carries through exactly those stretches and clears them, which
// tells them from the stretches that start at odd positions.
inline uint64_t RunCodes(uint64_t high) {
  constexpr uint64_t kEven = 0x5555555555555555ull;
  const uint64_t starts = high & ~(high << 1);
  const uint64_t inEvenStretches = high & ~(high + (starts & kEven));
  return (inEvenStretches & kEven) | (high & ~inEvenStretches & ~kEven);
}

// Unpacks the run-length stream one scan line (all planes) at a time. A run
// may continue into the next line.
class RleReader {
 public:
  // ReadLine may write this many bytes past the end of its line.
  static constexpr size_t kSlack = 64;

  RleReader(const uint8_t* data, size_t size, bool encoded) : d_(data), n_(size), encoded_(encoded) {}

  // `out` has room for length + kSlack bytes.
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
    i += ReadBlocks(out + i, length - i);
    // The end of the line, and of the data: one code at a time.
    const uint8_t* d = d_;
    size_t pos = pos_;
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
      if (now < count) {  // the run goes on in the next line
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
  // The bulk of a line: the data 64 bytes at a time, its run codes found at
  // once (RunCodes), then each stretch of literals and each run written with
  // a few fixed-size copies that may overshoot into the slack; only lengths
  // above 16 take a second, larger copy. Stops before the first literal
  // stretch or run that would not fit the line, and where fewer than 128
  // bytes of data are left (the copies read up to 128 bytes ahead), leaving
  // the rest to the careful loop. Returns the bytes written.
  size_t ReadBlocks(uint8_t* out, size_t room) {
    uint8_t* o = out;
    uint8_t* const end = out + room;
    while (end - o >= 64 && n_ - pos_ >= 128) {
      const uint8_t* p = d_ + pos_;
      uint64_t codes = RunCodes(HighBytes(p));
      size_t at = 0;  // where the next literal stretch begins
      while (codes != 0) {
        const size_t k = static_cast<size_t>(std::countr_zero(codes));
        const size_t literals = k - at;
        const size_t count = p[k] & 0x3Fu;
        if (literals + count > static_cast<size_t>(end - o)) {
          pos_ += at;
          return static_cast<size_t>(o - out);
        }
        std::memcpy(o, p + at, 16);
        if (literals > 16) std::memcpy(o + 16, p + at + 16, 48);
        o += literals;
        const uint8_t value = p[k + 1];
        const uint64_t eight = value * 0x0101010101010101ull;
        std::memcpy(o, &eight, 8);
        std::memcpy(o + 8, &eight, 8);
        if (count > 16) std::memset(o + 16, value, 48);
        o += count;
        at = k + 2;  // a code in byte 63 has its value in the next block
        codes &= codes - 1;
      }
      if (at < 64) {
        const size_t literals = 64 - at;
        if (literals > static_cast<size_t>(end - o)) {
          pos_ += at;
          break;
        }
        std::memcpy(o, p + at, 16);
        if (literals > 16) std::memcpy(o + 16, p + at + 16, 48);
        o += literals;
        at = 64;
      }
      pos_ += at;
    }
    return static_cast<size_t>(o - out);
  }

  const uint8_t* d_;
  size_t n_;
  bool encoded_;
  size_t pos_ = 0;
  size_t runLeft_ = 0;
  uint8_t runValue_ = 0;
};

// Blue, green, red triples from the three planes of a line, straight into
// the picture's row, which has room for exactly `width` pixels.
void InterleavePlanes(const uint8_t* r, const uint8_t* g, const uint8_t* b, int32_t width, uint8_t* out) {
  int32_t x = 0;
#if defined(__SSE2__)
  // Sixteen pixels at a time: pairs of blue and green bytes, joined with red
  // and a zero into four-byte pixels, each 64-bit half then closed up to six
  // bytes and stored with 8-byte stores that overlap. The last store of a
  // group writes two bytes beyond it, so a group needs one more pixel after
  // it in the row.
  const __m128i zero = _mm_setzero_si128();
  const __m128i firstPixel = _mm_set1_epi64x(0xFFFFFF);
  const __m128i secondPixel = _mm_set1_epi64x(0xFFFFFF000000);
  for (; x + 17 <= width; x += 16, out += 48) {
    const __m128i vr = _mm_loadu_si128(reinterpret_cast<const __m128i*>(r + x));
    const __m128i vg = _mm_loadu_si128(reinterpret_cast<const __m128i*>(g + x));
    const __m128i vb = _mm_loadu_si128(reinterpret_cast<const __m128i*>(b + x));
    const __m128i bgLow = _mm_unpacklo_epi8(vb, vg);
    const __m128i bgHigh = _mm_unpackhi_epi8(vb, vg);
    const __m128i rLow = _mm_unpacklo_epi8(vr, zero);
    const __m128i rHigh = _mm_unpackhi_epi8(vr, zero);
    const __m128i quads[4] = {_mm_unpacklo_epi16(bgLow, rLow), _mm_unpackhi_epi16(bgLow, rLow),
                              _mm_unpacklo_epi16(bgHigh, rHigh), _mm_unpackhi_epi16(bgHigh, rHigh)};
    for (int k = 0; k < 4; ++k) {
      const __m128i six = _mm_or_si128(_mm_and_si128(quads[k], firstPixel),
                                       _mm_and_si128(_mm_srli_epi64(quads[k], 8), secondPixel));
      _mm_storel_epi64(reinterpret_cast<__m128i*>(out + 12 * k), six);
      _mm_storel_epi64(reinterpret_cast<__m128i*>(out + 12 * k + 6), _mm_srli_si128(six, 8));
    }
  }
#endif
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

  std::vector<uint8_t> line(static_cast<size_t>(lineLength) + RleReader::kSlack);
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
