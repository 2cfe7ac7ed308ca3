#pragma once
// Maps a picture onto a given palette: the result is a new 8-bit packed DIB
// whose colour table is the palette and whose every pixel is the palette's
// nearest colour to the source pixel.
#include <cstddef>
#include <cstdint>
#include <span>

#include "orvalenx/block_allocator.h"
#include "orvalenx/dib_layout.h"

namespace orvalen {

// `block` holds a packed DIB that DibPixels reads; `palette` has 1 to 256
// entries. nullptr when either is not so, or the allocator has no room.
void* MapToPalette(const uint8_t* block, size_t size, std::span<const RgbQuad> palette, BlockAllocator& allocator);

}  // namespace orvalen
