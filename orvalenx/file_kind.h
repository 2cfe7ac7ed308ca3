#pragma once
// Which decoder reads a file, told by its first bytes, never by its name:
// Windows bitmaps and PCX by the library's own decoders, everything else
// (JPEG, GIF, TIFF, PNG) by the platform's imaging component.
#include <cstddef>
#include <cstdint>
#include <span>

#include "orvalenx/block_allocator.h"

namespace orvalen {

enum class FileKind { kBmp, kPackedDib, kPcx, kOther };

FileKind SniffFile(std::span<const uint8_t> file);

// Decodes a file of the library's own formats; nullptr for kOther or a
// damaged file.
void* DecodeOwnFormat(FileKind kind, std::span<const uint8_t> file, BlockAllocator& allocator);

}  // namespace orvalen
