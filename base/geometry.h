#pragma once
// Small value types shared by the platform-free image code and its callers.
#include <cstdint>

namespace orvalen {

struct Point {
  int32_t x = 0;
  int32_t y = 0;
  friend bool operator==(const Point&, const Point&) = default;
};

// A rectangle as Windows keeps one: right and bottom are exclusive.
struct Rect {
  int32_t left = 0;
  int32_t top = 0;
  int32_t right = 0;
  int32_t bottom = 0;

  int32_t Width() const { return right - left; }
  int32_t Height() const { return bottom - top; }
  friend bool operator==(const Rect&, const Rect&) = default;
};

// A colour as 0x00BBGGRR.
using ColorRef = uint32_t;

constexpr ColorRef MakeColor(uint32_t red, uint32_t green, uint32_t blue) {
  return (red & 0xFF) | ((green & 0xFF) << 8) | ((blue & 0xFF) << 16);
}
constexpr uint32_t RedOf(ColorRef c) { return c & 0xFF; }
constexpr uint32_t GreenOf(ColorRef c) { return (c >> 8) & 0xFF; }
constexpr uint32_t BlueOf(ColorRef c) { return (c >> 16) & 0xFF; }

}  // namespace orvalen
