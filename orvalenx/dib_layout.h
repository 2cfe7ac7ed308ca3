#pragma once
// The packed DIB every loader delivers and the palette functions read: a
// 40-byte BITMAPINFOHEADER, the colour table (4-byte RGBQUADs), then the pixel
// rows bottom row first, each padded to a multiple of 4 bytes. Pictures are 24
// bits (blue, green, red) or 1, 4 or 8 bits with a colour table.
//
// Size limit: width and height are each at most kMaxDibDimension pixels and
// the whole block at most kMaxDibBlockBytes (256 MiB), which keeps every size
// computation far inside 32 bits and refuses files that claim pictures no
// 32-bit process could hold.
#include <cstddef>
#include <cstdint>
#include <optional>

#include "base/dib_view.h"
#include "orvalenx/block_allocator.h"

namespace orvalen {

inline constexpr int32_t kMaxDibDimension = 32768;
inline constexpr size_t kMaxDibBlockBytes = size_t{256} << 20;
inline constexpr uint32_t kInfoHeaderSize = 40;

inline constexpr uint32_t kBiRgb = 0;
inline constexpr uint32_t kBiRle8 = 1;
inline constexpr uint32_t kBiRle4 = 2;
inline constexpr uint32_t kBiBitfields = 3;
inline constexpr uint32_t kBiAlphaBitfields = 6;

struct RgbQuad {
  uint8_t blue = 0;
  uint8_t green = 0;
  uint8_t red = 0;
  uint8_t reserved = 0;
  friend bool operator==(const RgbQuad&, const RgbQuad&) = default;
};
static_assert(sizeof(RgbQuad) == 4);

inline RgbQuad MakeQuad(uint8_t red, uint8_t green, uint8_t blue) { return RgbQuad{blue, green, red, 0}; }

// Colour count of a header as the image code reads it: biClrUsed, or when that
// is 0 the full table for 1, 4 and 8 bits, none for 16, 24 and 32, and -1 for
// any other bit count.
int32_t ColorCountOf(int32_t bitsPerPixel, uint32_t clrUsed);

struct DibLayout {
  int32_t width = 0;
  int32_t height = 0;
  int32_t bitsPerPixel = 24;
  int32_t colorCount = 0;
  int32_t stride = 0;
  size_t bitsOffset = 0;
  size_t imageBytes = 0;
  size_t totalBytes = 0;
};

// Plans a block of the system's layout. Fails for empty pictures, bit counts
// other than 1, 4, 8 and 24, colour counts outside 0..2^bits (none for 24),
// and anything beyond the size limit.
std::optional<DibLayout> PlanDib(int64_t width, int64_t height, int32_t bitsPerPixel, int32_t colorCount);

// A packed DIB being built: header written, colour table and pixels to fill.
// Frees the block on destruction unless Release() handed it on.
class DibBlock {
 public:
  // An empty DibBlock (check with bool) when the allocator has no room.
  static DibBlock Create(BlockAllocator& allocator, const DibLayout& layout);

  explicit operator bool() const { return static_cast<bool>(block_); }
  const DibLayout& Layout() const { return layout_; }
  RgbQuad* ColorTable() const { return reinterpret_cast<RgbQuad*>(block_.Data() + kInfoHeaderSize); }
  uint8_t* Bits() const { return block_.Data() + layout_.bitsOffset; }
  // Row in memory order: row 0 is the bottom row of the picture.
  uint8_t* Row(int32_t memoryRow) const { return Bits() + static_cast<size_t>(memoryRow) * layout_.stride; }
  // Row counted from the top of the picture.
  uint8_t* RowFromTop(int32_t y) const { return Row(layout_.height - 1 - y); }
  DibView View() const {
    return DibView{Bits(), layout_.width, layout_.height, layout_.bitsPerPixel, layout_.stride};
  }
  void* Release() { return block_.Release(); }

 private:
  OwnedBlock block_;
  DibLayout layout_;
};

// Where the parts of an existing packed DIB lie.
struct DibInfo {
  int32_t width = 0;
  int32_t height = 0;
  int32_t bitsPerPixel = 0;
  uint32_t compression = kBiRgb;
  int32_t colorCount = 0;
  int32_t stride = 0;
  size_t colorTableOffset = kInfoHeaderSize;
  size_t bitsOffset = kInfoHeaderSize;
};

// Reads a packed DIB of the system's layout held in `size` bytes: a 40-byte
// header, masks only with BI_BITFIELDS, bottom-up rows (height >= 0), and a
// colour table and rows that lie inside the block. nullopt otherwise.
std::optional<DibInfo> ParsePackedDib(const uint8_t* block, size_t size);

}  // namespace orvalen
