#pragma once
// Moveable global memory for the blocks the library hands out. A block is
// locked while a decoder fills it; Finish unlocks it and gives its handle.
#include <windows.h>

#include <cstdint>

#include "orvalenx/block_allocator.h"

namespace orvalen {

class GlobalBlockAllocator : public BlockAllocator {
 public:
  void* Allocate(size_t bytes) override;
  void Free(void* block) override;
  // Unlocks a filled block and returns its handle, now the caller's.
  virtual HGLOBAL Finish(void* block);
};

// Locks a global block for reading; unlocks on destruction.
class GlobalReadLock {
 public:
  explicit GlobalReadLock(HGLOBAL handle);
  GlobalReadLock(const GlobalReadLock&) = delete;
  GlobalReadLock& operator=(const GlobalReadLock&) = delete;
  ~GlobalReadLock();
  const uint8_t* Data() const { return data_; }
  size_t Size() const { return size_; }

 private:
  HGLOBAL handle_;
  const uint8_t* data_ = nullptr;
  size_t size_ = 0;
};

}  // namespace orvalen
