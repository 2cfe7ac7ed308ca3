// Windows bitmaps of any content: the decoder must return a block of the
// system's layout or nothing, never read or write outside its buffers, and
// leave no block behind.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <span>

#include "fuzz/fuzz_allocator.h"
#include "orvalenx/bmp_decoder.h"
#include "orvalenx/dib_layout.h"

namespace {

void Check(orvalen::FuzzAllocator& allocator, void* block) {
  if (block == nullptr) return;
  const size_t size = allocator.SizeOf(block);
  const auto info = orvalen::ParsePackedDib(static_cast<const uint8_t*>(block), size);
  if (!info || info->bitsOffset + static_cast<size_t>(info->stride) * info->height != size) std::abort();
  if (info->bitsPerPixel != 24 && info->colorCount != (1 << info->bitsPerPixel)) std::abort();
  allocator.Free(block);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::span<const uint8_t> file(data, size);
  orvalen::FuzzAllocator allocator;
  Check(allocator, orvalen::DecodeBmpFile(file, allocator));
  Check(allocator, orvalen::DecodePackedDibFile(file, allocator));
  if (allocator.Outstanding() != 0) std::abort();
  return 0;
}
