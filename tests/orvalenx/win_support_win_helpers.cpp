#include <atomic>
#include <cstring>

#include "tests/orvalenx/win_test_support.h"

namespace orvalen::test {

bool RunningUnderWine() {
  HMODULE ntdll = GetModuleHandleA("ntdll.dll");
  return ntdll && GetProcAddress(ntdll, "wine_get_version") != nullptr;
}

TempFile::TempFile(const Bytes& contents, const char* suffix) {
  static std::atomic<int> counter{0};
  char folder[MAX_PATH];
  GetTempPathA(MAX_PATH, folder);
  path_ = std::string(folder) + "orvalenx_test_" + std::to_string(GetCurrentProcessId()) + "_" +
          std::to_string(counter++) + suffix;
  HANDLE file = CreateFileA(path_.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file != INVALID_HANDLE_VALUE) {
    DWORD written = 0;
    if (!contents.empty()) WriteFile(file, contents.data(), static_cast<DWORD>(contents.size()), &written, nullptr);
    CloseHandle(file);
  }
}

TempFile::~TempFile() { DeleteFileA(path_.c_str()); }

HGLOBAL GlobalCopy(const Bytes& bytes) {
  HGLOBAL handle = GlobalAlloc(GMEM_MOVEABLE, bytes.size());
  void* data = GlobalLock(handle);
  std::memcpy(data, bytes.data(), bytes.size());
  GlobalUnlock(handle);
  return handle;
}

void* CountingGlobalAllocator::Allocate(size_t bytes) {
  void* block = GlobalBlockAllocator::Allocate(bytes);
  if (block) {
    ++held_;
    ++allocations_;
  }
  return block;
}

void CountingGlobalAllocator::Free(void* block) {
  --held_;
  GlobalBlockAllocator::Free(block);
}

HGLOBAL CountingGlobalAllocator::Finish(void* block) {
  --held_;
  ++handedOut_;
  return GlobalBlockAllocator::Finish(block);
}

LockedDib::LockedDib(HGLOBAL handle)
    : handle_(handle), data_(GlobalLock(handle)), dib_(data_, data_ ? GlobalSize(handle) : 0) {}

LockedDib::~LockedDib() {
  if (data_) GlobalUnlock(handle_);
}

}  // namespace orvalen::test
