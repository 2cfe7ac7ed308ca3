#pragma once
// Sizes in pixels given for a display of 96 dots per inch (100 %), and the
// same sizes on a display of another logical DPI. Dialog templates grow with
// the display's DPI; fonts made by pixel height, and the offsets that place
// fixed-size bitmaps and text lines, grow with them by this rule.
#include <cstdint>

namespace orvalen {

inline constexpr int32_t kBaseDpi = 96;

// `pixels` * `dpi` / 96, rounded half away from zero as MulDiv rounds (a
// dialog unit's pixels are rounded the same way): 12 at 144 DPI is 18, 13 at
// 120 DPI is 16. A DPI of 0 or less (none to be had) leaves the size as it is.
int32_t ScaleForDpi(int32_t pixels, int32_t dpi);

}  // namespace orvalen
