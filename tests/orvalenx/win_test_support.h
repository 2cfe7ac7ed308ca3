#pragma once
// Windows-side test support: temporary files, global DIB blocks, and a
// global-memory allocator that counts blocks.
#include <windows.h>

#include <string>

#include "orvalenx/global_memory_win.h"
#include "tests/orvalenx/dib_test_support.h"

namespace orvalen::test {

bool RunningUnderWine();

// A file in the temporary folder, removed on destruction.
class TempFile {
 public:
  explicit TempFile(const Bytes& contents, const char* suffix = ".img");
  TempFile(const TempFile&) = delete;
  TempFile& operator=(const TempFile&) = delete;
  ~TempFile();
  const char* Path() const { return path_.c_str(); }

 private:
  std::string path_;
};

// A moveable global block holding `bytes`.
HGLOBAL GlobalCopy(const Bytes& bytes);

// Counts the blocks a decoder still holds (Allocate without Free or Finish)
// and those handed out.
class CountingGlobalAllocator : public GlobalBlockAllocator {
 public:
  void* Allocate(size_t bytes) override;
  void Free(void* block) override;
  HGLOBAL Finish(void* block) override;
  int Held() const { return held_; }
  int HandedOut() const { return handedOut_; }
  int Allocations() const { return allocations_; }

 private:
  int held_ = 0;
  int handedOut_ = 0;
  int allocations_ = 0;
};

// Reads a global DIB block while alive.
class LockedDib {
 public:
  explicit LockedDib(HGLOBAL handle);
  LockedDib(const LockedDib&) = delete;
  LockedDib& operator=(const LockedDib&) = delete;
  ~LockedDib();
  const DecodedDib& Dib() const { return dib_; }

 private:
  HGLOBAL handle_;
  void* data_;
  DecodedDib dib_;
};

}  // namespace orvalen::test
