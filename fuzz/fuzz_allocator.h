#pragma once
// The allocator the decoder fuzz targets use: the heap, blocks up to 16 MiB
// (larger pictures only slow the search down; refusing them exercises the
// out-of-memory paths), and a count of what is outstanding.
#include <cstdlib>
#include <map>

#include "orvalenx/block_allocator.h"

namespace orvalen {

class FuzzAllocator : public BlockAllocator {
 public:
  void* Allocate(size_t bytes) override {
    if (bytes > (size_t{16} << 20)) return nullptr;
    void* block = std::malloc(bytes ? bytes : 1);
    if (block) sizes_[block] = bytes;
    return block;
  }
  void Free(void* block) override {
    if (sizes_.erase(block) != 1) std::abort();
    std::free(block);
  }
  size_t SizeOf(void* block) const { return sizes_.at(block); }
  size_t Outstanding() const { return sizes_.size(); }

 private:
  std::map<void*, size_t> sizes_;
};

}  // namespace orvalen
