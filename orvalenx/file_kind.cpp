#include "orvalenx/file_kind.h"

#include "orvalenx/bmp_decoder.h"
#include "orvalenx/pcx_decoder.h"

namespace orvalen {

FileKind SniffFile(std::span<const uint8_t> file) {
  if (LooksLikeBmpFile(file)) return FileKind::kBmp;
  if (LooksLikePcxFile(file)) return FileKind::kPcx;
  if (LooksLikePackedDib(file)) return FileKind::kPackedDib;
  return FileKind::kOther;
}

void* DecodeOwnFormat(FileKind kind, std::span<const uint8_t> file, BlockAllocator& allocator) {
  switch (kind) {
    case FileKind::kBmp: return DecodeBmpFile(file, allocator);
    case FileKind::kPackedDib: return DecodePackedDibFile(file, allocator);
    case FileKind::kPcx: return DecodePcxFile(file, allocator);
    case FileKind::kOther: break;
  }
  return nullptr;
}

}  // namespace orvalen
