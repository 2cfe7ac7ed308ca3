#pragma once
// Windows and OS/2 bitmaps (.bmp, .rle, .dib): core (12-byte), info (40),
// OS/2 2.x (16, 64), V2/V3 (52, 56), V4 (108) and V5 (124) headers; 1, 4, 8,
// 16, 24 and 32 bits; BI_RGB, BI_RLE8, BI_RLE4, BI_BITFIELDS and
// BI_ALPHABITFIELDS; bottom-up and top-down rows.
//
// The result is a packed DIB of the system's layout in one block from the
// allocator (nullptr for any file that is not such a bitmap or is damaged):
// 1, 4 and 8 bits keep their colour table, padded with black to the full 2, 16
// or 256 entries so every pixel value names a colour; 16 and 32 bits become 24.
#include <cstddef>
#include <cstdint>
#include <span>

#include "orvalenx/block_allocator.h"

namespace orvalen {

// A file that starts with the "BM" file header.
void* DecodeBmpFile(std::span<const uint8_t> file, BlockAllocator& allocator);

// A packed DIB without file header (some .dib files): the info header first,
// then masks and colour table, then the rows.
void* DecodePackedDibFile(std::span<const uint8_t> file, BlockAllocator& allocator);

bool LooksLikeBmpFile(std::span<const uint8_t> file);
bool LooksLikePackedDib(std::span<const uint8_t> file);

}  // namespace orvalen
