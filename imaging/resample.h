#pragma once
// Scaling the source picture into the 24-bit work image: the simple nearest
// pixel copy and the accurate running-mix reduction. Both work in memory row
// order (row 0 is the bottom row) and read the source pixel (x, y) at byte
// (x * bits per pixel) / 8 of row y: 24 and 32 bits per pixel as blue, green,
// red bytes, 16 bits per pixel as 5-5-5 values widened to 8 bits.
#include <cstddef>
#include <cstdint>
#include <vector>

#include "base/dib_view.h"
#include "base/geometry.h"
#include "imaging/pixel_poll.h"

namespace orvalen {

// A destination extent as the resampling sees it: the low 16 bits, 0 counting
// as 1.
int32_t TargetExtent(int32_t extent);
// The single-precision scale factor source extent / target extent.
float ResampleScale(int32_t sourceExtent, int32_t targetExtent);

// The saver's choice: accurate when asked for and the source covers the
// picture rectangle in both directions.
bool ChooseAccurate(bool accurateSize, int32_t srcWidth, int32_t srcHeight, const Rect& imageRect);

// Buffers the accurate reduction reuses from one image to the next.
struct ResampleScratch {
  std::vector<int32_t> columnCount;    // per destination column: source columns it takes
  std::vector<size_t> columnOffset;    // per destination column: byte offset of its first
  std::vector<int32_t> rowFirst;       // per destination row: first source row
  std::vector<int32_t> rowCount;       // per destination row: source rows it takes
  std::vector<int32_t> lateColumns;    // destination columns taking more than the fewest columns
  std::vector<size_t> lateStart;       // where each column index's part of lateColumns starts
  std::vector<uint8_t> convertedRows;  // 16-bit source rows widened to 24 bits
  std::vector<const uint8_t*> rows;    // the source rows of one destination row
  std::vector<uint8_t> gathered;       // one step's source pixels, lined up with the destination row
};

// Both return false when the poll reported movement (the destination then
// holds what was done so far). Source 16, 24 or 32 bits per pixel, destination
// 24 bits per pixel; other formats raise std::invalid_argument. A missing or
// empty source or destination leaves the destination alone.
//
// Simple counts each destination pixel in the poll, accurate each source
// pixel. Both work through the destination row by row and count a row's
// pixels when it is done: the callback runs as many times as with one count
// per pixel, at the end of the row in which the count passes 5000.
bool ResampleSimple(const DibView& src, const DibView& dst, PixelPoll& poll);
// Each destination pixel becomes the running mix of the source pixels whose
// scaled position falls into it, taken column by column, each column in row
// order. A source smaller than the destination in either direction leaves
// destination pixels that no source pixel reaches, so it is scaled with
// ResampleSimple instead.
bool ResampleAccurate(const DibView& src, const DibView& dst, PixelPoll& poll,
                      ResampleScratch& scratch);
bool ResampleAccurate(const DibView& src, const DibView& dst, PixelPoll& poll);

// The running mix of one channel: `old` is the value after n source pixels,
// `src` the (n + 1)-th; with a = n + 1 and b = a + 1 in single precision,
// new = trunc(old * (a / b) + src / b) in extended precision.
int AccurateMixLiteral(int old, int src, uint64_t n);
// The same value, computed from tables and integer forms.
int AccurateMix(int old, int src, uint64_t n);

// Counts up to this one mix from a 64 KB table, indexed old * 256 + src.
inline constexpr uint32_t kMixTableMax = 64;
// Beyond kMixTableMax and up to this count the mix is the integer quotient
// (old (n + 1) + src) div (n + 2), except where that division is exact.
inline constexpr uint64_t kMixIntegerMax = (uint64_t{1} << 24) - 2;
const uint8_t* AccurateMixTable(uint32_t n);
// For many counts up to kMixTableMax the table is exactly the quotient
// (old (n + 1) + src) div (n + 2), which is computed sixteen channels at a
// time instead.
bool AccurateMixIsQuotient(uint32_t n);
// Step n of the mix over a row of channel bytes: d[i] = mix(d[i], s[i]).
void AccurateMixRow(uint8_t* d, const uint8_t* s, size_t count, uint32_t n);

}  // namespace orvalen
