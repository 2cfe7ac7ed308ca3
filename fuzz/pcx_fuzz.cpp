// PCX files of any content: a block of the system's layout or nothing, no
// access outside the buffers, no block left behind.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <span>

#include "fuzz/fuzz_allocator.h"
#include "orvalenx/dib_layout.h"
#include "orvalenx/file_kind.h"
#include "orvalenx/pcx_decoder.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::span<const uint8_t> file(data, size);
  orvalen::FuzzAllocator allocator;
  void* block = orvalen::DecodePcxFile(file, allocator);
  if (block != nullptr) {
    if (orvalen::SniffFile(file) != orvalen::FileKind::kPcx) std::abort();
    const size_t blockSize = allocator.SizeOf(block);
    const auto info = orvalen::ParsePackedDib(static_cast<const uint8_t*>(block), blockSize);
    if (!info || info->bitsOffset + static_cast<size_t>(info->stride) * info->height != blockSize) std::abort();
    allocator.Free(block);
  }
  if (allocator.Outstanding() != 0) std::abort();
  return 0;
}
