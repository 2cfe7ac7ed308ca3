#pragma once
// Nearest palette colour for 24-bit colours, through an inverse colour map:
// 64 x 64 x 64 cells (6 bits per channel), each filled on first use with the
// palette entry nearest to the cell's centre (smallest squared distance in
// red, green and blue; the lowest index among equals). So a colour maps to
// an entry at most 2 * 1.5 * sqrt(3) (about 5.2) farther than its nearest.
// Cells that hold a palette colour themselves are exact: they keep the few
// entries that can be nearest for some colour in them and compare those, so
// a colour that is in the palette always maps to itself. Searches run over
// short lists: for each block of 4 x 4 x 4 cells, the entries that can be
// nearest to any colour in the block.
#include <cstdint>
#include <span>
#include <vector>

#include "orvalenx/dib_layout.h"

namespace orvalen {

class NearestColorMap {
 public:
  // How far the answer may be from the nearest entry, per the above.
  static constexpr double kMaxExtraDistance = 5.1962;

  // `palette` has 1 to 256 entries.
  explicit NearestColorMap(std::span<const RgbQuad> palette);

  uint8_t Nearest(uint8_t red, uint8_t green, uint8_t blue) {
    const uint32_t key = (static_cast<uint32_t>(red >> 2) << 12) | (static_cast<uint32_t>(green >> 2) << 6) | (blue >> 2);
    uint32_t entry = cells_[key];
    if (entry == 0) entry = FillCell(key);
    if (!(entry & kCandidates)) return static_cast<uint8_t>(entry - 1);
    return Choose(entry & ~kCandidates, red, green, blue);
  }

  // The exact nearest entry by comparing every one.
  static uint8_t NearestByScan(std::span<const RgbQuad> palette, uint8_t red, uint8_t green, uint8_t blue);

 private:
  static constexpr uint32_t kCandidates = 0x80000000u;
  uint32_t FillCell(uint32_t key);
  uint8_t Choose(uint32_t at, uint8_t red, uint8_t green, uint8_t blue) const;

  struct Span {
    uint32_t start = 0;
    uint32_t count = 0;  // 0: not made yet (no list is empty)
  };
  // Offsets of a block's list in the arrays below, made on first use.
  Span BlockSpan(uint32_t key);

  std::vector<RgbQuad> palette_;
  std::vector<Span> blocks_;
  // The lists, entries in ascending index order: doubled red, green and blue
  // apart, so distances are computed four at a time.
  std::vector<int32_t> listRed_, listGreen_, listBlue_;
  std::vector<uint8_t> listIndex_;
  std::vector<uint32_t> cells_;        // 0 unknown, index + 1, or kCandidates | offset into pool_
  std::vector<uint8_t> holdsPalette_;  // per cell: a palette colour lies in it
  std::vector<uint8_t> pool_;          // count - 1, then candidate indices in ascending order
};

}  // namespace orvalen
