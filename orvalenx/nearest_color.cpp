#include "orvalenx/nearest_color.h"

#include <algorithm>
#include <cmath>

namespace orvalen {
namespace {

// Distance from a cell's centre to its farthest colour, in doubled units:
// the colours 4k..4k+3 lie 1 or 3 half-steps from the centre 4k+1.5.
const double kCellRadius = 3.0 * std::sqrt(3.0);

inline int32_t Square(int32_t v) { return v * v; }

}  // namespace

NearestColorMap::NearestColorMap(std::span<const RgbQuad> palette)
    : palette_(palette.begin(), palette.end()), cells_(size_t{1} << 18, 0) {
  byGreen_.reserve(palette_.size());
  for (size_t i = 0; i < palette_.size(); ++i) {
    const RgbQuad& c = palette_[i];
    byGreen_.push_back(Entry{2 * c.green, 2 * c.red, 2 * c.blue, static_cast<int32_t>(i)});
  }
  std::stable_sort(byGreen_.begin(), byGreen_.end(), [](const Entry& a, const Entry& b) { return a.g2 < b.g2; });
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

uint32_t NearestColorMap::FillCell(uint32_t key) {
  const int32_t cr = static_cast<int32_t>(((key >> 12) & 63) * 8 + 3);
  const int32_t cg = static_cast<int32_t>(((key >> 6) & 63) * 8 + 3);
  const int32_t cb = static_cast<int32_t>((key & 63) * 8 + 3);

  // Walk outward from the centre's green value. An entry farther in green than
  // the best distance plus the cell's diameter can be nearest for no colour
  // of the cell; stop each direction there.
  struct Found {
    int32_t index;
    int32_t distance2;
  };
  Found found[256];
  int foundCount = 0;
  int32_t best2 = 0x7FFFFFFF;
  double reach = 1e18;
  const int n = static_cast<int>(byGreen_.size());
  const auto start = std::lower_bound(byGreen_.begin(), byGreen_.end(), cg,
                                      [](const Entry& e, int32_t g) { return e.g2 < g; }) - byGreen_.begin();
  int up = static_cast<int>(start), down = static_cast<int>(start) - 1;
  while (up < n || down >= 0) {
    for (int side = 0; side < 2; ++side) {
      int& i = side == 0 ? up : down;
      if (i < 0 || i >= n) continue;
      const Entry& e = byGreen_[i];
      const double dg = std::abs(e.g2 - cg);
      if (dg > reach) {
        i = side == 0 ? n : -1;  // everything further this way is further in green
        continue;
      }
      const int32_t d2 = Square(e.r2 - cr) + Square(e.g2 - cg) + Square(e.b2 - cb);
      if (d2 < best2) {
        best2 = d2;
        reach = std::sqrt(static_cast<double>(d2)) + 2 * kCellRadius + 1e-6;
      }
      if (std::sqrt(static_cast<double>(d2)) <= reach) found[foundCount++] = Found{e.index, d2};
      i += side == 0 ? 1 : -1;
    }
  }

  uint8_t candidates[256];
  int count = 0;
  for (int k = 0; k < foundCount; ++k) {
    if (std::sqrt(static_cast<double>(found[k].distance2)) <= reach) candidates[count++] = static_cast<uint8_t>(found[k].index);
  }
  uint32_t entry;
  if (count == 1) {
    entry = candidates[0] + 1u;
  } else {
    std::sort(candidates, candidates + count);
    entry = kCandidates | static_cast<uint32_t>(pool_.size());
    pool_.push_back(static_cast<uint8_t>(count - 1));
    pool_.insert(pool_.end(), candidates, candidates + count);
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
