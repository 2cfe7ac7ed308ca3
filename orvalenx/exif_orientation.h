#pragma once
// The EXIF orientation of a JPEG (APP1 "Exif" segment) or TIFF (tag 274 of
// the first IFD) file: 1 (as stored) to 8. 1 when the file has none, or an
// invalid one, or is neither format.
#include <cstddef>
#include <cstdint>
#include <span>

namespace orvalen {

int ReadExifOrientation(std::span<const uint8_t> file);

// The same for a TIFF structure on its own (an EXIF block after "Exif\0\0").
int OrientationFromTiff(std::span<const uint8_t> tiff);

bool LooksLikeJpeg(std::span<const uint8_t> file);
bool LooksLikeTiff(std::span<const uint8_t> file);

}  // namespace orvalen
