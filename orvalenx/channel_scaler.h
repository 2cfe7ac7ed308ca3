#pragma once
// Maps one colour channel of a 16- or 32-bit pixel, selected by its mask, to
// 0..255: value * 255 / largest value, rounded. Masks wider than 16 bits are
// first cut to their top 16 bits; a zero mask gives 0.
#include <bit>
#include <cstdint>
#include <vector>

namespace orvalen {

class ChannelScaler {
 public:
  explicit ChannelScaler(uint32_t mask) : mask_(mask) {
    if (mask == 0) return;
    shift_ = std::countr_zero(mask);
    const uint32_t value = mask >> shift_;
    const int bits = std::bit_width(value);
    if (bits > 16) down_ = bits - 16;
    const uint32_t max = value >> down_;
    lut_.resize(static_cast<size_t>(max) + 1);
    for (uint32_t i = 0; i <= max; ++i) lut_[i] = static_cast<uint8_t>((i * 255ull + max / 2) / max);
  }
  uint8_t operator()(uint32_t pixel) const {
    return lut_.empty() ? 0 : lut_[((pixel & mask_) >> shift_) >> down_];
  }

 private:
  uint32_t mask_;
  int shift_ = 0;
  int down_ = 0;
  std::vector<uint8_t> lut_;
};

}  // namespace orvalen
