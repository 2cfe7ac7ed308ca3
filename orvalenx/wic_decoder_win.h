#pragma once
// JPEG, GIF, TIFF and PNG through the platform's imaging component (WIC),
// read from the file's bytes in memory. Indexed pictures keep their colour
// table (padded with black to the full 2, 16 or 256 entries), grey ones get a
// grey table, everything else becomes 24 bits; 16-bit samples are reduced.
// JPEG and TIFF pictures are turned upright by their EXIF orientation. GIF:
// the first frame, its transparent colour replaced by the background colour
// of the logical screen (white when the file has no global colour table).
#include <cstdint>
#include <span>

#include "orvalenx/block_allocator.h"

namespace orvalen {

// A packed DIB from the allocator, or nullptr when the component cannot read
// the bytes or the picture exceeds the size limit.
void* DecodeWithWic(std::span<const uint8_t> file, BlockAllocator& allocator);

}  // namespace orvalen
