#include "orvalenx/exif_orientation.h"

#include <cstring>

#include "base/byte_order.h"

namespace orvalen {

bool LooksLikeJpeg(std::span<const uint8_t> file) {
  return file.size() >= 3 && file[0] == 0xFF && file[1] == 0xD8 && file[2] == 0xFF;
}

bool LooksLikeTiff(std::span<const uint8_t> file) {
  return file.size() >= 8 && ((file[0] == 'I' && file[1] == 'I' && file[2] == 42 && file[3] == 0) ||
                              (file[0] == 'M' && file[1] == 'M' && file[2] == 0 && file[3] == 42));
}

int OrientationFromTiff(std::span<const uint8_t> tiff) {
  if (!LooksLikeTiff(tiff)) return 1;
  const bool little = tiff[0] == 'I';
  const uint8_t* d = tiff.data();
  const size_t n = tiff.size();
  auto u16 = [&](size_t at) { return little ? ReadLe16(d + at) : ReadBe16(d + at); };
  auto u32 = [&](size_t at) { return little ? ReadLe32(d + at) : ReadBe32(d + at); };
  const uint32_t ifd = u32(4);
  if (ifd > n || n - ifd < 2) return 1;
  const uint32_t count = u16(ifd);
  if ((n - ifd - 2) / 12 < count) return 1;
  for (uint32_t i = 0; i < count; ++i) {
    const size_t e = ifd + 2 + 12 * static_cast<size_t>(i);
    if (u16(e) != 274) continue;
    const uint16_t type = u16(e + 2);
    uint32_t value = 0;
    if (type == 3) {
      value = u16(e + 8);
    } else if (type == 4) {
      value = u32(e + 8);
    } else {
      return 1;
    }
    return (value >= 1 && value <= 8) ? static_cast<int>(value) : 1;
  }
  return 1;
}

int ReadExifOrientation(std::span<const uint8_t> file) {
  if (LooksLikeTiff(file)) return OrientationFromTiff(file);
  if (!LooksLikeJpeg(file)) return 1;
  size_t pos = 2;
  const size_t n = file.size();
  while (pos + 4 <= n) {
    if (file[pos] != 0xFF) return 1;
    const uint8_t marker = file[pos + 1];
    if (marker == 0xFF) {  // fill byte
      ++pos;
      continue;
    }
    if (marker == 0xD9 || marker == 0xDA) return 1;  // end of image, start of scan
    if ((marker >= 0xD0 && marker <= 0xD7) || marker == 0x01) {
      pos += 2;
      continue;
    }
    const size_t length = ReadBe16(file.data() + pos + 2);
    if (length < 2 || n - pos - 2 < length) return 1;
    const uint8_t* data = file.data() + pos + 4;
    const size_t dataSize = length - 2;
    if (marker == 0xE1 && dataSize >= 6 && std::memcmp(data, "Exif\0\0", 6) == 0) {
      return OrientationFromTiff(std::span<const uint8_t>(data + 6, dataSize - 6));
    }
    pos += 2 + length;
  }
  return 1;
}

}  // namespace orvalen
