#pragma once
// A file mapped read-only into memory, so decoders read it in place without
// a copy. Empty files and files over 1 GiB are refused.
#include <windows.h>

#include <cstdint>
#include <span>

namespace orvalen {

class MappedFile {
 public:
  explicit MappedFile(const char* path);
  MappedFile(const MappedFile&) = delete;
  MappedFile& operator=(const MappedFile&) = delete;
  ~MappedFile();

  explicit operator bool() const { return view_ != nullptr; }
  std::span<const uint8_t> Bytes() const { return {static_cast<const uint8_t*>(view_), size_}; }

 private:
  HANDLE file_ = INVALID_HANDLE_VALUE;
  HANDLE mapping_ = nullptr;
  const void* view_ = nullptr;
  size_t size_ = 0;
};

}  // namespace orvalen
