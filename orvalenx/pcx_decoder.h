#pragma once
// PC Paintbrush pictures (.pcx): 1 bit in 1 to 4 planes, 2 bits in 1 or 2
// planes and 4 bits in 1 plane (colours from the header's 16-entry table, or
// the default EGA colours for version 3 files, which have none; 1 bit in one
// plane is black and white), 8 bits in 1 plane with the trailing 256-colour
// table (grey levels when the file has none), and 8 bits in 3 planes (a fourth
// plane, alpha, is ignored). Run-length encoded or stored rows; runs may cross
// row ends, as some writers produce them.
//
// The result is a packed DIB of the system's layout in one block from the
// allocator: 1 bit, 4 bits (up to 16 colours), 8 bits (palette) or 24 bits;
// nullptr for anything else or a damaged file.
#include <cstddef>
#include <cstdint>
#include <span>

#include "orvalenx/block_allocator.h"

namespace orvalen {

void* DecodePcxFile(std::span<const uint8_t> file, BlockAllocator& allocator);
bool LooksLikePcxFile(std::span<const uint8_t> file);

}  // namespace orvalen
