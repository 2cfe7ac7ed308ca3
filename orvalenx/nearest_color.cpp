#include "orvalenx/nearest_color.h"

#include <algorithm>
#include <cmath>

namespace orvalen {
namespace {

// Distances are taken in doubled units, so cell and block centres are whole
// numbers. A cell's colours 4k..4k+3 lie at most 1.5 from its centre on each
// axis, a block's 16k..16k+15 at most 7.5: radii 3 sqrt(3) and 15 sqrt(3).
const double kCellRadius = 3.0 * std::sqrt(3.0);
const double kBlockRadius = 15.0 * std::sqrt(3.0);

inline int32_t Square(int32_t v) { return v * v; }

inline uint32_t KeyOf(const RgbQuad& c) {
  return (static_cast<uint32_t>(c.red >> 2) << 12) | (static_cast<uint32_t>(c.green >> 2) << 6) | (c.blue >> 2);
}

// Squared doubled distances within reach of a best squared distance.
inline double ReachSquared(int32_t best2, double margin) {
  const double reach = std::sqrt(static_cast<double>(best2)) + margin + 1e-6;
  return reach * reach;
}

}  // namespace

NearestColorMap::NearestColorMap(std::span<const RgbQuad> palette)
    : palette_(palette.begin(), palette.end()),
      blocks_(size_t{1} << 12),
      cells_(size_t{1} << 18, 0),
      holdsPalette_(size_t{1} << 18, 0) {
  for (const RgbQuad& c : palette_) holdsPalette_[KeyOf(c)] = 1;
}

uint8_t NearestColorMap::NearestByScan(std::span<const RgbQuad> palette, uint8_t red, uint8_t green, uint8_t blue) {
  int32_t best = 0x7FFFFFFF;
  uint8_t bestIndex = 0;
  for (size_t i = 0; i < palette.size(); ++i) {
    const int32_t d = Square(palette[i].red - red) + Square(palette[i].green - green) + Square(palette[i].blue - blue);
    if (d < best) {
      best = d;
      bestIndex = static_cast<uint8_t>(i);
    }
  }
  return bestIndex;
}

NearestColorMap::Span NearestColorMap::BlockSpan(uint32_t key) {
  const uint32_t r = (key >> 14) & 15, g = (key >> 8) & 15, b = (key >> 2) & 15;
  Span& span = blocks_[(r << 8) | (g << 4) | b];
  if (span.count != 0) return span;
  // Every colour of the block has its nearest entry within the block's best
  // distance plus the block's diameter of the centre.
  const int32_t cr = static_cast<int32_t>(32 * r + 15), cg = static_cast<int32_t>(32 * g + 15);
  const int32_t cb = static_cast<int32_t>(32 * b + 15);
  int32_t distance2[256];
  int32_t best2 = 0x7FFFFFFF;
  const size_t n = palette_.size();
  for (size_t i = 0; i < n; ++i) {
    const RgbQuad& c = palette_[i];
    distance2[i] = Square(2 * c.red - cr) + Square(2 * c.green - cg) + Square(2 * c.blue - cb);
    best2 = std::min(best2, distance2[i]);
  }
  const double within = ReachSquared(best2, 2 * kBlockRadius);
  span.start = static_cast<uint32_t>(listIndex_.size());
  for (size_t i = 0; i < n; ++i) {
    if (distance2[i] > within) continue;
    listRed_.push_back(2 * palette_[i].red);
    listGreen_.push_back(2 * palette_[i].green);
    listBlue_.push_back(2 * palette_[i].blue);
    listIndex_.push_back(static_cast<uint8_t>(i));
  }
  span.count = static_cast<uint32_t>(listIndex_.size()) - span.start;
  return span;
}

uint32_t NearestColorMap::FillCell(uint32_t key) {
  const int32_t cr = static_cast<int32_t>(((key >> 12) & 63) * 8 + 3);
  const int32_t cg = static_cast<int32_t>(((key >> 6) & 63) * 8 + 3);
  const int32_t cb = static_cast<int32_t>((key & 63) * 8 + 3);
  const Span span = BlockSpan(key);
  const int count = static_cast<int>(span.count);
  const int32_t* red = listRed_.data() + span.start;
  const int32_t* green = listGreen_.data() + span.start;
  const int32_t* blue = listBlue_.data() + span.start;
  const uint8_t* index = listIndex_.data() + span.start;

  int32_t distance2[256];
  for (int k = 0; k < count; ++k) distance2[k] = Square(red[k] - cr) + Square(green[k] - cg) + Square(blue[k] - cb);
  int32_t best2 = 0x7FFFFFFF;
  for (int k = 0; k < count; ++k) best2 = std::min(best2, distance2[k]);
  int first = 0;
  while (distance2[first] != best2) ++first;  // the lowest index among equals
  uint32_t entry = static_cast<uint32_t>(index[first]) + 1;
  if (holdsPalette_[key]) {
    // An exact cell keeps every entry that can be nearest for a colour in it.
    const double within = ReachSquared(best2, 2 * kCellRadius);
    const auto at = static_cast<uint32_t>(pool_.size());
    pool_.push_back(0);
    for (int k = 0; k < count; ++k) {
      if (distance2[k] <= within) pool_.push_back(index[k]);
    }
    const size_t candidates = pool_.size() - at - 1;
    if (candidates > 1) {
      pool_[at] = static_cast<uint8_t>(candidates - 1);
      entry = kCandidates | at;
    } else {
      pool_.resize(at);
    }
  }
  cells_[key] = entry;
  return entry;
}

uint8_t NearestColorMap::Choose(uint32_t at, uint8_t red, uint8_t green, uint8_t blue) const {
  const int count = pool_[at] + 1;
  const uint8_t* c = &pool_[at + 1];
  int32_t best = 0x7FFFFFFF;
  uint8_t bestIndex = c[0];
  for (int k = 0; k < count; ++k) {
    const RgbQuad& p = palette_[c[k]];
    const int32_t d = Square(p.red - red) + Square(p.green - green) + Square(p.blue - blue);
    if (d < best) {
      best = d;
      bestIndex = c[k];
    }
  }
  return bestIndex;
}

}  // namespace orvalen
