#pragma once
// Nearest palette colour (smallest squared distance in red, green, blue; the
// lowest index among equals) for any 24-bit colour, through an inverse map of
// 64 x 64 x 64 cells filled on first use. A cell whose every colour has the
// same nearest entry stores it; a cell near a boundary stores the few entries
// that can be nearest for some colour in it, and those are compared exactly.
// So the map's answer is always the exact nearest colour.
#include <cstdint>
#include <span>
#include <vector>

#include "orvalenx/dib_layout.h"

namespace orvalen {

class NearestColorMap {
 public:
  // `palette` has 1 to 256 entries.
  explicit NearestColorMap(std::span<const RgbQuad> palette);

  uint8_t Nearest(uint8_t red, uint8_t green, uint8_t blue) {
    const uint32_t key = (static_cast<uint32_t>(red >> 2) << 12) | (static_cast<uint32_t>(green >> 2) << 6) | (blue >> 2);
    uint32_t entry = cells_[key];
    if (entry == 0) entry = FillCell(key);
    if (!(entry & kCandidates)) return static_cast<uint8_t>(entry - 1);
    return Choose(entry & ~kCandidates, red, green, blue);
  }

  // The same answer by comparing every entry; for tests.
  static uint8_t NearestByScan(std::span<const RgbQuad> palette, uint8_t red, uint8_t green, uint8_t blue);

 private:
  static constexpr uint32_t kCandidates = 0x80000000u;
  struct Entry {
    int32_t g2, r2, b2;  // doubled channel values
    int32_t index;
  };

  uint32_t FillCell(uint32_t key);
  uint8_t Choose(uint32_t at, uint8_t red, uint8_t green, uint8_t blue) const;

  std::vector<RgbQuad> palette_;
  std::vector<Entry> byGreen_;  // palette sorted by green, for a pruned search
  std::vector<uint32_t> cells_;  // 0 unknown, index + 1, or kCandidates | offset into pool_
  std::vector<uint8_t> pool_;    // count, then candidate indices in ascending order
};

}  // namespace orvalen
