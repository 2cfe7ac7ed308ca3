#include "winapp/dpi_scale.h"

namespace orvalen {

int32_t ScaleForDpi(int32_t pixels, int32_t dpi) {
  if (dpi <= 0) return pixels;
  const int64_t product = static_cast<int64_t>(pixels) * dpi;
  const int64_t half = kBaseDpi / 2;
  return static_cast<int32_t>(product >= 0 ? (product + half) / kBaseDpi : -((-product + half) / kBaseDpi));
}

}  // namespace orvalen
