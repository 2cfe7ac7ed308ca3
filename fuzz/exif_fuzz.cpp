// EXIF orientation reading from any bytes: 1 to 8, no access past the end.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <span>

#include "orvalenx/exif_orientation.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const int orientation = orvalen::ReadExifOrientation(std::span<const uint8_t>(data, size));
  if (orientation < 1 || orientation > 8) std::abort();
  return 0;
}
