#pragma once
// Read access to the pixels of a packed DIB of the system's layout, for the
// palette functions: colour-table pictures of 1, 4 and 8 bits, and direct
// colour of 16 bits (5-5-5 or BI_BITFIELDS), 24 bits and 32 bits (B, G, R, X
// or BI_BITFIELDS).
#include <cstddef>
#include <cstdint>
#include <optional>
#include <vector>

#include "orvalenx/channel_scaler.h"
#include "orvalenx/dib_layout.h"

namespace orvalen {

class DibPixels {
 public:
  // nullopt for a block that is not such a DIB.
  static std::optional<DibPixels> Open(const uint8_t* block, size_t size);

  const DibInfo& Info() const { return info_; }
  bool Indexed() const { return info_.bitsPerPixel <= 8; }
  // Colour of a pixel value of an indexed picture; black past the table.
  RgbQuad Color(uint32_t index) const;
  // Pixel values of memory row y (indexed pictures), one byte each.
  void IndexRow(int32_t y, uint8_t* out) const;
  // Memory row y as blue, green, red triples (direct colour). Points into the
  // block for 24 bits, else into `scratch` (3 * width bytes).
  const uint8_t* BgrRow(int32_t y, uint8_t* scratch) const;

 private:
  DibPixels(const uint8_t* block, const DibInfo& info);
  const uint8_t* Row(int32_t y) const { return block_ + info_.bitsOffset + static_cast<size_t>(y) * info_.stride; }

  const uint8_t* block_;
  DibInfo info_;
  bool plain32_ = true;
  std::optional<ChannelScaler> red_, green_, blue_;
};

}  // namespace orvalen
