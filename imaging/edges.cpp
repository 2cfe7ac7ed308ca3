#include "imaging/edges.h"

#include <algorithm>
#include <cmath>
#include <stdexcept>

namespace orvalen {

namespace {

constexpr int32_t kMaxDistance = 30;

void TreatRun(uint8_t* p, int32_t count, ptrdiff_t step, const uint8_t* table) {
  for (int32_t i = 0; i < count; ++i, p += step) {
    p[0] = table[p[0]];
    p[1] = table[p[1]];
    p[2] = table[p[2]];
  }
}

}  // namespace

long double EdgeFactor(int32_t d) {
  if (d <= 0) return 0;
  const float q = static_cast<float>(static_cast<long double>(d) / 30);
  return std::pow(static_cast<long double>(q), static_cast<long double>(0.3));
}

int EdgeChannel(int c, int32_t d, int32_t edges) {
  const long double g = EdgeFactor(d);
  if (edges == kEdgesBlack) return static_cast<int>(g * c);
  if (edges == kEdgesSilver) return static_cast<int>(g * (c - 205) + 205);
  return c;
}

void ApplyEdges(const DibView& work, int32_t edges) {
  if (edges != kEdgesBlack && edges != kEdgesSilver) return;
  if (work.bitsPerPixel != 24) throw std::invalid_argument("edges are drawn on 24-bit work images");
  if (work.bits == nullptr || work.width <= 0 || work.height <= 0) return;

  uint8_t table[kMaxDistance + 1][256];
  for (int32_t d = 0; d <= kMaxDistance; ++d) {
    for (int c = 0; c < 256; ++c) table[d][c] = static_cast<uint8_t>(EdgeChannel(c, d, edges));
  }

  const int32_t tw = work.width;
  const int32_t th = work.height;
  // Picture row r (0 at the top) is memory row th - 1 - r.
  auto pixel = [&](int32_t column, int32_t pictureRow) { return work.Pixel(column, th - 1 - pictureRow); };
  const ptrdiff_t down = -static_cast<ptrdiff_t>(work.stride);  // one picture row further down

  // Top: rows k = 0..29, columns k..tw-1-k, d = k + 1.
  for (int32_t k = 0; k < std::min(30, th); ++k) {
    if (tw - 2 * k > 0) TreatRun(pixel(k, k), tw - 2 * k, 3, table[k + 1]);
  }
  // Left: columns k = 0..28, rows k+1..th-2-k, d = k.
  for (int32_t k = 0; k < std::min(29, tw); ++k) {
    if (th - 2 - 2 * k > 0) TreatRun(pixel(k, k + 1), th - 2 - 2 * k, down, table[k]);
  }
  // Bottom: rows th-1-k, k = 0..28, columns k..tw-1-k, d = k.
  for (int32_t k = 0; k < std::min(29, th); ++k) {
    if (tw - 2 * k > 0) TreatRun(pixel(k, th - 1 - k), tw - 2 * k, 3, table[k]);
  }
  // Right: columns tw-1-k, k = 0..29, rows k+1..th-2-k, d = k + 1.
  for (int32_t k = 0; k < std::min(30, tw); ++k) {
    if (th - 2 - 2 * k > 0) TreatRun(pixel(tw - 1 - k, k + 1), th - 2 - 2 * k, down, table[k + 1]);
  }
}

}  // namespace orvalen
