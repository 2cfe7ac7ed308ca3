#include "imaging/resample.h"

#include <algorithm>
#include <cstring>
#include <memory>
#include <mutex>
#include <stdexcept>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace orvalen {

namespace {

void CheckFormats(const DibView& src, const DibView& dst) {
  if (src.bitsPerPixel != 16 && src.bitsPerPixel != 24 && src.bitsPerPixel != 32) {
    throw std::invalid_argument("resampling reads 16, 24 or 32 bits per pixel");
  }
  if (dst.bitsPerPixel != 24) throw std::invalid_argument("resampling writes 24 bits per pixel");
}

bool Empty(const DibView& v) { return v.bits == nullptr || v.width <= 0 || v.height <= 0; }

size_t PixelOffset(int32_t x, int32_t bitsPerPixel) {
  return static_cast<size_t>((static_cast<int64_t>(x) * bitsPerPixel) / 8);
}

// A 5-bit channel of a 16-bit pixel widened to 8 bits (31 becomes 255).
inline uint8_t Widen5(uint32_t c) { return static_cast<uint8_t>((c << 3) | (c >> 2)); }

// 16-bit pixels are x-5-5-5: blue in the low bits, red in bits 10 to 14.
inline void Read555(const uint8_t* p, uint8_t* bgr) {
  const uint32_t v = p[0] | (static_cast<uint32_t>(p[1]) << 8);
  bgr[0] = Widen5(v & 31);
  bgr[1] = Widen5((v >> 5) & 31);
  bgr[2] = Widen5((v >> 10) & 31);
}

inline void Copy3(uint8_t* d, const uint8_t* s) { std::memcpy(d, s, 3); }

// Source index of a destination position: trunc(i * scale).
int32_t ScaledIndex(int32_t i, float scale, int32_t limit) {
  const int64_t v = static_cast<int64_t>(i * static_cast<long double>(scale));
  return static_cast<int32_t>(std::min<int64_t>(v, limit - 1));
}

// Destination index a source position falls into: trunc(i / scale).
int64_t ReducedIndex(int32_t i, float scale) {
  return static_cast<int64_t>(i / static_cast<long double>(scale));
}

void BuildMixTable(uint32_t n, uint8_t* table) {
  // The literal mix split into its rounded parts: old * (a / b) and src / b
  // are each rounded before the sum, so tabulating them gives the same bits.
  const float a = static_cast<float>(n + 1);
  const float b = static_cast<float>(a + 1.0L);
  const long double weight = static_cast<long double>(a) / b;
  long double share[256];
  for (int src = 0; src < 256; ++src) share[src] = src / static_cast<long double>(b);
  for (int old = 0; old < 256; ++old) {
    const long double kept = old * weight;
    for (int src = 0; src < 256; ++src) {
      table[old * 256 + src] = static_cast<uint8_t>(static_cast<int>(kept + share[src]));
    }
  }
}

// How step n of the mix is computed: always by its table; and where the
// table equals the plain quotient (old (n + 1) + src) div (n + 2) for every
// input, by that quotient in the form ((old (n + 1) + src) * multiplier) >>
// (16 + shift), which sixteen-bit vector lanes evaluate.
struct MixForm {
  std::unique_ptr<uint8_t[]> table;
  bool quotient = false;
  uint16_t multiplier = 0;
  uint8_t shift = 0;
};

std::once_flag g_mixOnce[kMixTableMax + 1];
MixForm g_mixForms[kMixTableMax + 1];

inline uint32_t QuotientMix(uint32_t old, uint32_t src, uint32_t n, const MixForm& form) {
  return ((old * (n + 1) + src) * form.multiplier) >> (16 + form.shift);
}

void FindQuotientForm(uint32_t n, MixForm& form) {
  const uint32_t divisor = n + 2;
  for (uint8_t shift = 0; shift <= 8; ++shift) {
    const uint32_t multiplier = ((1u << (16 + shift)) + divisor - 1) / divisor;
    if (multiplier > 0xFFFF) continue;
    form.multiplier = static_cast<uint16_t>(multiplier);
    form.shift = shift;
    bool same = true;
    for (uint32_t i = 0; i < 65536 && same; ++i) same = form.table[i] == QuotientMix(i >> 8, i & 255, n, form);
    if (same) {
      form.quotient = true;
      return;
    }
  }
}

const MixForm& MixFormFor(uint32_t n) {
  std::call_once(g_mixOnce[n], [n] {
    MixForm& form = g_mixForms[n];
    form.table = std::make_unique<uint8_t[]>(65536);
    BuildMixTable(n, form.table.get());
    FindQuotientForm(n, form);
  });
  return g_mixForms[n];
}


}  // namespace

int32_t TargetExtent(int32_t extent) {
  const int32_t low = static_cast<int32_t>(static_cast<uint16_t>(extent));
  return low == 0 ? 1 : low;
}

float ResampleScale(int32_t sourceExtent, int32_t targetExtent) {
  return static_cast<float>(static_cast<long double>(sourceExtent) / targetExtent);
}

bool ChooseAccurate(bool accurateSize, int32_t srcWidth, int32_t srcHeight, const Rect& imageRect) {
  return accurateSize && srcWidth >= imageRect.Width() && srcHeight >= imageRect.Height();
}

int AccurateMixLiteral(int old, int src, uint64_t n) {
  const float a = static_cast<float>(n + 1);
  const float b = static_cast<float>(a + 1.0L);
  const long double v =
      old * (static_cast<long double>(a) / b) + src / static_cast<long double>(b);
  return static_cast<int>(v);
}

const uint8_t* AccurateMixTable(uint32_t n) {
  if (n < 1 || n > kMixTableMax) return nullptr;
  return MixFormFor(n).table.get();
}

bool AccurateMixIsQuotient(uint32_t n) { return n >= 1 && n <= kMixTableMax && MixFormFor(n).quotient; }

void AccurateMixRow(uint8_t* d, const uint8_t* s, size_t count, uint32_t n) {
  if (n < 1 || n > kMixTableMax) {
    for (size_t i = 0; i < count; ++i) d[i] = static_cast<uint8_t>(AccurateMix(d[i], s[i], n));
    return;
  }
  const MixForm& form = MixFormFor(n);
  size_t i = 0;
  if (form.quotient) {
#if defined(__SSE2__)
    const __m128i zero = _mm_setzero_si128();
    const __m128i weight = _mm_set1_epi16(static_cast<short>(n + 1));
    const __m128i multiplier = _mm_set1_epi16(static_cast<short>(form.multiplier));
    const __m128i shift = _mm_cvtsi32_si128(form.shift);
    auto mix = [&](__m128i old, __m128i src) {
      const __m128i sum = _mm_add_epi16(_mm_mullo_epi16(old, weight), src);
      return _mm_srl_epi16(_mm_mulhi_epu16(sum, multiplier), shift);
    };
    for (; i + 16 <= count; i += 16) {
      const __m128i dv = _mm_loadu_si128(reinterpret_cast<const __m128i*>(d + i));
      const __m128i sv = _mm_loadu_si128(reinterpret_cast<const __m128i*>(s + i));
      const __m128i lo = mix(_mm_unpacklo_epi8(dv, zero), _mm_unpacklo_epi8(sv, zero));
      const __m128i hi = mix(_mm_unpackhi_epi8(dv, zero), _mm_unpackhi_epi8(sv, zero));
      _mm_storeu_si128(reinterpret_cast<__m128i*>(d + i), _mm_packus_epi16(lo, hi));
    }
#endif
    for (; i < count; ++i) d[i] = static_cast<uint8_t>(QuotientMix(d[i], s[i], n, form));
    return;
  }
  const uint8_t* table = form.table.get();
  for (; i < count; ++i) d[i] = table[(d[i] << 8) | s[i]];
}

int AccurateMix(int old, int src, uint64_t n) {
  old &= 255;
  src &= 255;
  if (n >= 1 && n <= kMixTableMax) return AccurateMixTable(static_cast<uint32_t>(n))[old * 256 + src];
  if (n > kMixTableMax && n <= kMixIntegerMax) {
    // a = n + 1 and b = n + 2 are exact in single precision here, and the
    // rounding error of the extended evaluation (below 1e-16) is far smaller
    // than the distance 1 / (n + 2) from a non-integer quotient to the next
    // integer: only an exact quotient can come out one lower.
    const uint64_t num = static_cast<uint64_t>(old) * (n + 1) + static_cast<uint64_t>(src);
    if (num % (n + 2) != 0) return static_cast<int>(num / (n + 2));
  }
  return AccurateMixLiteral(old, src, n);
}

bool ResampleSimple(const DibView& src, const DibView& dst, PixelPoll& poll) {
  CheckFormats(src, dst);
  if (Empty(src) || Empty(dst)) return true;
  const int32_t tw = TargetExtent(dst.width);
  const int32_t th = TargetExtent(dst.height);
  const float sx = ResampleScale(src.width, tw);
  const float sy = ResampleScale(src.height, th);
  // tw and th never exceed the view, except 0 counting as 1 on a view wider
  // than 65535, which only writes what fits.
  const int32_t w = std::min(tw, dst.width);
  const int32_t h = std::min(th, dst.height);

  std::vector<size_t> offset(static_cast<size_t>(w));
  for (int32_t x = 0; x < w; ++x) offset[x] = PixelOffset(ScaledIndex(x, sx, src.width), src.bitsPerPixel);
  const size_t sourceRowBytes = PixelOffset(src.width, src.bitsPerPixel);
  int32_t wide = 0;  // leading columns that may move four bytes
  while (wide < w - 1 && offset[wide] + 4 <= sourceRowBytes) ++wide;

  // Every destination pixel takes its value independently of the others, so
  // the rows are filled in memory order, which is the order the caches like.
  int32_t previousRow = -1;
  for (int32_t y = 0; y < h; ++y) {
    const int32_t sourceRow = ScaledIndex(y, sy, src.height);
    uint8_t* d = dst.Row(y);
    if (sourceRow == previousRow) {
      std::memcpy(d, dst.Row(y - 1), static_cast<size_t>(w) * 3);
    } else {
      const uint8_t* s = src.Row(sourceRow);
      if (src.bitsPerPixel == 16) {
        for (int32_t x = 0; x < w; ++x) Read555(s + offset[x], d + 3 * x);
      } else {
        // Four bytes at a time where the fourth lies within the source row
        // and within the next destination pixel, which is written next. The
        // next source row is a jump away: its lines are asked for early.
        const uint8_t* next = y + 1 < h ? src.Row(ScaledIndex(y + 1, sy, src.height)) : s;
        int32_t x = 0;
        for (; x < wide; ++x) {
          if ((x & 7) == 0) __builtin_prefetch(next + offset[x]);
          uint32_t v;
          std::memcpy(&v, s + offset[x], 4);
          std::memcpy(d + 3 * x, &v, 4);
        }
        for (; x < w; ++x) Copy3(d + 3 * x, s + offset[x]);
      }
    }
    previousRow = sourceRow;
    if (poll.CountMany(static_cast<uint64_t>(w))) return false;
  }
  return true;
}

namespace {

// One source pixel p mixed into destination pixel q, channel by channel.
template <typename Mix>
inline void MixPixel(uint8_t* q, const uint8_t* p, Mix mix) {
  q[0] = static_cast<uint8_t>(mix(q[0], p[0]));
  q[1] = static_cast<uint8_t>(mix(q[1], p[1]));
  q[2] = static_cast<uint8_t>(mix(q[2], p[2]));
}

// The same with the source pixel read as one four-byte word. (The
// destination keeps byte access: a four-byte store followed by a load that
// overlaps it, for the next pixel, would stall the store forwarding.)
template <typename Mix>
inline void MixPixelWord(uint8_t* q, const uint8_t* p, Mix mix) {
  uint32_t sv;
  std::memcpy(&sv, p, 4);
  q[0] = static_cast<uint8_t>(mix(q[0], sv & 255));
  q[1] = static_cast<uint8_t>(mix(q[1], (sv >> 8) & 255));
  q[2] = static_cast<uint8_t>(mix(q[2], (sv >> 16) & 255));
}

// Mixes the source pixel at s + offset[x] into destination pixel x of row d
// for the destination columns listed (or 0 .. count - 1 when `columns` is
// null). Columns below `last` read their source pixel as a four-byte word.
template <typename Mix>
inline void MixStep(uint8_t* d, const uint8_t* s, const size_t* offset, const int32_t* columns,
                    size_t count, size_t last, Mix mix) {
  if (columns == nullptr) {
    size_t x = 0;
    for (; x < count && x < last; ++x) MixPixelWord(d + 3 * x, s + offset[x], mix);
    for (; x < count; ++x) MixPixel(d + 3 * x, s + offset[x], mix);
  } else {
    for (size_t k = 0; k < count; ++k) {
      const size_t x = static_cast<size_t>(columns[k]);
      if (x < last) {
        MixPixelWord(d + 3 * x, s + offset[x], mix);
      } else {
        MixPixel(d + 3 * x, s + offset[x], mix);
      }
    }
  }
}

}  // namespace

bool ResampleAccurate(const DibView& src, const DibView& dst, PixelPoll& poll,
                      ResampleScratch& scratch) {
  CheckFormats(src, dst);
  if (Empty(src) || Empty(dst)) return true;
  const int32_t tw = TargetExtent(dst.width);
  const int32_t th = TargetExtent(dst.height);
  if (src.width < tw || src.height < th) return ResampleSimple(src, dst, poll);
  const float sx = ResampleScale(src.width, tw);
  const float sy = ResampleScale(src.height, th);
  const int32_t w = std::min(tw, dst.width);
  const int32_t h = std::min(th, dst.height);

  // Source column X goes to destination column trunc(X / sx); the mapping
  // never decreases, so each destination column takes a run of adjacent
  // source columns, and likewise for rows.
  const bool wide = src.bitsPerPixel == 16;  // rows are widened to 24 bits first
  const int32_t pixelBytes = wide ? 3 : src.bitsPerPixel / 8;
  scratch.columnCount.assign(static_cast<size_t>(w), 0);
  scratch.columnOffset.assign(static_cast<size_t>(w), 0);
  for (int32_t col = 0; col < src.width; ++col) {
    const int64_t x = ReducedIndex(col, sx);
    if (x >= w) continue;
    if (scratch.columnCount[x]++ == 0) scratch.columnOffset[x] = static_cast<size_t>(col) * pixelBytes;
  }
  scratch.rowFirst.assign(static_cast<size_t>(h), 0);
  scratch.rowCount.assign(static_cast<size_t>(h), 0);
  for (int32_t row = 0; row < src.height; ++row) {
    const int64_t y = ReducedIndex(row, sy);
    if (y >= h) continue;
    if (scratch.rowCount[y]++ == 0) scratch.rowFirst[y] = row;
  }

  const int32_t fewest = *std::min_element(scratch.columnCount.begin(), scratch.columnCount.end());
  const int32_t most = *std::max_element(scratch.columnCount.begin(), scratch.columnCount.end());
  const int32_t tallest = *std::max_element(scratch.rowCount.begin(), scratch.rowCount.end());
  // For block column j >= fewest only some destination columns take part.
  scratch.lateColumns.clear();
  scratch.lateStart.assign(static_cast<size_t>(most) + 1, 0);
  for (int32_t j = fewest; j < most; ++j) {
    scratch.lateStart[j] = scratch.lateColumns.size();
    for (int32_t x = 0; x < w; ++x) {
      if (scratch.columnCount[x] > j) scratch.lateColumns.push_back(x);
    }
  }
  scratch.lateStart[most] = scratch.lateColumns.size();

  // Columns below `last` may read their source pixels as four-byte words:
  // the word ends inside the source row. Only the block that takes the last
  // source column can end it.
  const size_t rowBytes = static_cast<size_t>(src.width) * pixelBytes;
  size_t last = static_cast<size_t>(w);
  while (last > 0) {
    const size_t x = last - 1;
    const int32_t count = scratch.columnCount[x];
    if (count == 0 || scratch.columnOffset[x] + static_cast<size_t>(count - 1) * pixelBytes + 4 <= rowBytes) break;
    --last;
  }

  if (wide) scratch.convertedRows.resize(static_cast<size_t>(tallest) * rowBytes);
  scratch.rows.resize(static_cast<size_t>(tallest));
  const size_t rowOut = 3 * static_cast<size_t>(w);
  scratch.gathered.resize(rowOut + 4);  // room for a four-byte move at the last pixel
  const uint8_t** rows = scratch.rows.data();
  const uint64_t rowPixels = static_cast<uint64_t>(src.width);
  uint64_t countedRows = 0;

  for (int32_t y = 0; y < h; ++y) {
    const int32_t cy = scratch.rowCount[y];
    if (cy == 0) continue;
    for (int32_t i = 0; i < cy; ++i) {
      const uint8_t* s = src.Row(scratch.rowFirst[y] + i);
      if (wide) {
        uint8_t* c = scratch.convertedRows.data() + static_cast<size_t>(i) * rowBytes;
        for (size_t col = 0; col < static_cast<size_t>(src.width); ++col) Read555(s + 2 * col, c + 3 * col);
        s = c;
      }
      rows[i] = s;
    }
    uint8_t* d = dst.Row(y);
    const size_t* offset = scratch.columnOffset.data();

    // Each destination pixel receives its block column by column, each column
    // in row order: n counts the pixels it already holds. All destination
    // pixels of the row take step n together, which keeps that order for each
    // of them while the steps of neighbouring pixels run independently.
    uint64_t n = 0;
    for (int32_t j = 0; j < most; ++j) {
      const int32_t* columns = nullptr;
      size_t count = static_cast<size_t>(w);
      if (j >= fewest) {
        columns = scratch.lateColumns.data() + scratch.lateStart[j];
        count = scratch.lateStart[j + 1] - scratch.lateStart[j];
      }
      for (int32_t i = 0; i < cy; ++i, ++n) {
        const uint8_t* s = rows[i] + static_cast<size_t>(j) * pixelBytes;
        if (n == 0) {
          MixStep(d, s, offset, columns, count, last, [](uint32_t, uint32_t v) { return v; });
        } else if (AccurateMixIsQuotient(static_cast<uint32_t>(n))) {
          // Line the step's source pixels up with the destination row and mix
          // the whole row at once. Pixels that take no part in this step are
          // mixed with themselves, which the quotient leaves as they are.
          uint8_t* g = scratch.gathered.data();
          if (columns == nullptr) {
            size_t x = 0;
            for (; x < count && x < last; ++x) std::memcpy(g + 3 * x, s + offset[x], 4);
            for (; x < count; ++x) Copy3(g + 3 * x, s + offset[x]);
          } else {
            std::memcpy(g, d, rowOut);
            for (size_t k = 0; k < count; ++k) {
              const size_t x = static_cast<size_t>(columns[k]);
              Copy3(g + 3 * x, s + offset[x]);
            }
          }
          AccurateMixRow(d, g, rowOut, static_cast<uint32_t>(n));
        } else if (n <= kMixTableMax) {
          const uint8_t* table = AccurateMixTable(static_cast<uint32_t>(n));
          MixStep(d, s, offset, columns, count, last,
                  [table](uint32_t old, uint32_t v) -> uint32_t { return table[(old << 8) | v]; });
        } else {
          MixStep(d, s, offset, columns, count, last, [n](uint32_t old, uint32_t v) {
            return static_cast<uint32_t>(AccurateMix(static_cast<int>(old), static_cast<int>(v), n));
          });
        }
      }
    }
    countedRows += static_cast<uint64_t>(cy);
    if (poll.CountMany(static_cast<uint64_t>(cy) * rowPixels)) return false;
  }
  // Source rows beyond the destination are passed over but still counted.
  const uint64_t skippedRows = static_cast<uint64_t>(src.height) - countedRows;
  if (skippedRows != 0 && poll.CountMany(skippedRows * rowPixels)) return false;
  return true;
}

bool ResampleAccurate(const DibView& src, const DibView& dst, PixelPoll& poll) {
  ResampleScratch scratch;
  return ResampleAccurate(src, dst, poll, scratch);
}

}  // namespace orvalen
