#pragma once
// Where decoded pictures live. Every decoder writes its packed DIB straight
// into one block obtained here, so a picture costs one pixel buffer. The DLL
// hands out moveable global memory; tests, fuzzers and benchmarks use the
// heap and count what is outstanding.
#include <cstddef>
#include <cstdlib>

namespace orvalen {

class BlockAllocator {
 public:
  virtual ~BlockAllocator() = default;
  // A writable block of `bytes` bytes (not cleared), or nullptr.
  virtual void* Allocate(size_t bytes) = 0;
  // Returns a block this allocator made.
  virtual void Free(void* block) = 0;
};

class HeapAllocator : public BlockAllocator {
 public:
  void* Allocate(size_t bytes) override { return std::malloc(bytes == 0 ? 1 : bytes); }
  void Free(void* block) override { std::free(block); }
};

// A block being filled. Frees it on destruction unless Release() handed it on,
// so every early return of a decoder leaves nothing behind.
class OwnedBlock {
 public:
  OwnedBlock() = default;
  OwnedBlock(BlockAllocator& allocator, size_t bytes)
      : allocator_(&allocator), data_(static_cast<unsigned char*>(allocator.Allocate(bytes))) {}
  OwnedBlock(const OwnedBlock&) = delete;
  OwnedBlock& operator=(const OwnedBlock&) = delete;
  OwnedBlock(OwnedBlock&& other) noexcept : allocator_(other.allocator_), data_(other.data_) {
    other.data_ = nullptr;
  }
  OwnedBlock& operator=(OwnedBlock&& other) noexcept {
    if (this != &other) {
      Reset();
      allocator_ = other.allocator_;
      data_ = other.data_;
      other.data_ = nullptr;
    }
    return *this;
  }
  ~OwnedBlock() { Reset(); }

  unsigned char* Data() const { return data_; }
  explicit operator bool() const { return data_ != nullptr; }
  void* Release() {
    void* block = data_;
    data_ = nullptr;
    return block;
  }
  void Reset() {
    if (data_ && allocator_) allocator_->Free(data_);
    data_ = nullptr;
  }

 private:
  BlockAllocator* allocator_ = nullptr;
  unsigned char* data_ = nullptr;
};

}  // namespace orvalen
