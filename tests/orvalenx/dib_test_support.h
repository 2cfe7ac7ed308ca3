#pragma once
// Test support for the graphics library: file builders for the formats the
// library decodes itself, a counting allocator, and readers of result blocks.
#include <cstdint>
#include <functional>
#include <map>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "orvalenx/block_allocator.h"
#include "orvalenx/dib_layout.h"

namespace orvalen::test {

using Bytes = std::vector<uint8_t>;

struct Rgb {
  uint8_t r = 0, g = 0, b = 0;
  friend bool operator==(const Rgb&, const Rgb&) = default;
};
std::string ToString(const Rgb& c);

// A heap allocator that counts what is outstanding and can refuse.
class CountingAllocator : public BlockAllocator {
 public:
  void* Allocate(size_t bytes) override;
  void Free(void* block) override;
  // Frees a block a decoder handed out (as its caller would).
  void FreeResult(void* block) { Free(block); }
  size_t Outstanding() const { return live_.size(); }
  size_t Allocations() const { return allocations_; }
  size_t SizeOf(void* block) const { return live_.at(block); }
  void RefuseAbove(size_t bytes) { refuseAbove_ = bytes; }

 private:
  HeapAllocator heap_;
  std::map<void*, size_t> live_;
  size_t allocations_ = 0;
  size_t refuseAbove_ = SIZE_MAX;
};

// Fields of a bitmap info header; what is not set takes the value a writer
// would use.
struct BmpFields {
  uint32_t headerSize = 40;
  int32_t width = 0;
  int32_t height = 0;
  uint16_t bitsPerPixel = 24;
  uint32_t compression = 0;
  uint32_t clrUsed = 0;
  uint32_t masks[4] = {0, 0, 0, 0};  // in the header for sizes >= 52
  std::optional<uint32_t> offBits;   // else right after header, masks and table
};

// A "BM" file: file header, info header, `afterHeader` (masks for a 40-byte
// header with BI_BITFIELDS), the colour table bytes and the pixel bytes.
Bytes BmpFile(const BmpFields& fields, const Bytes& colorTable, const Bytes& pixels, const Bytes& afterHeader = {});
// The same without the 14-byte file header.
Bytes PackedDibFile(const BmpFields& fields, const Bytes& colorTable, const Bytes& pixels, const Bytes& afterHeader = {});

// Colour table bytes: 4-byte entries (B, G, R, 0), or 3-byte for core headers.
Bytes ColorTableBytes(const std::vector<Rgb>& colors, size_t entrySize = 4);

// Rows given top-down, each `rowBytes` long, stored bottom-up with padding to 4.
Bytes StoreRows(const std::vector<Bytes>& rowsTopDown);
// Packs pixel values of `bits` each into a row, most significant first.
Bytes PackRow(const std::vector<uint32_t>& values, int bits);

// PCX header fields and RLE encoding.
struct PcxFields {
  uint8_t version = 5;
  uint8_t encoding = 1;
  uint8_t bitsPerPixel = 8;
  uint16_t xMin = 0, yMin = 0, xMax = 0, yMax = 0;
  uint8_t planes = 1;
  uint16_t bytesPerLine = 0;
  std::vector<Rgb> headerPalette;  // up to 16
};
// Encodes each scan line (all planes, bytesPerLine each) on its own.
Bytes PcxEncodeLine(const Bytes& line);
Bytes PcxFile(const PcxFields& fields, const Bytes& data, const std::vector<Rgb>* trailingPalette = nullptr);

// A packed DIB of the system's layout in memory. value(x, yTop) gives the
// pixel: an index, 0x00RRGGBB for 24 bits, the raw value for 16 and 32 bits.
// `masks` (12 bytes) go after the header with BI_BITFIELDS.
Bytes MakeDib(int32_t width, int32_t height, int bits, const std::vector<Rgb>& table,
              const std::function<uint32_t(int32_t, int32_t)>& value, uint32_t compression = 0,
              const Bytes& masks = {});

// Root mean square difference per channel between the 24-bit DIB `original`
// and `mapped` (any bit count) of the same size.
double RmsError(const Bytes& original, const void* mapped, size_t mappedSize);

// Reads a result block of the system's layout.
class DecodedDib {
 public:
  DecodedDib(const void* block, size_t size);
  bool Valid() const { return info_.has_value(); }
  const DibInfo& Info() const { return *info_; }
  int32_t Width() const { return info_->width; }
  int32_t Height() const { return info_->height; }
  int32_t Bits() const { return info_->bitsPerPixel; }
  uint32_t ClrUsed() const;
  // Pixel value (index) or 0x00RRGGBB for 24 bits, at x, y counted from the top.
  uint32_t ValueAt(int32_t x, int32_t yTop) const;
  Rgb ColorAt(int32_t x, int32_t yTop) const;
  Rgb TableEntry(int32_t i) const;
  const uint8_t* RowFromTop(int32_t yTop) const;

 private:
  const uint8_t* block_;
  std::optional<DibInfo> info_;
};

// A block a decoder returned, read as a DIB and freed through the allocator
// when the test ends.
struct Result {
  CountingAllocator& allocator;
  void* block;
  DecodedDib dib;
  Result(CountingAllocator& a, void* b) : allocator(a), block(b), dib(b, b ? a.SizeOf(b) : 0) {}
  Result(const Result&) = delete;
  Result& operator=(const Result&) = delete;
  ~Result() {
    if (block) allocator.FreeResult(block);
  }
};

}  // namespace orvalen::test
