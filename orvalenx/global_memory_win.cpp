#include "orvalenx/global_memory_win.h"

namespace orvalen {

void* GlobalBlockAllocator::Allocate(size_t bytes) {
  HGLOBAL handle = GlobalAlloc(GMEM_MOVEABLE, bytes == 0 ? 1 : bytes);
  if (handle == nullptr) return nullptr;
  void* data = GlobalLock(handle);
  if (data == nullptr) GlobalFree(handle);
  return data;
}

void GlobalBlockAllocator::Free(void* block) {
  HGLOBAL handle = GlobalHandle(block);
  if (handle == nullptr) return;
  GlobalUnlock(handle);
  GlobalFree(handle);
}

HGLOBAL GlobalBlockAllocator::Finish(void* block) {
  HGLOBAL handle = GlobalHandle(block);
  if (handle != nullptr) GlobalUnlock(handle);
  return handle;
}

GlobalReadLock::GlobalReadLock(HGLOBAL handle) : handle_(handle) {
  if (handle == nullptr) return;
  data_ = static_cast<const uint8_t*>(GlobalLock(handle));
  if (data_ != nullptr) size_ = GlobalSize(handle);
}

GlobalReadLock::~GlobalReadLock() {
  if (data_ != nullptr) GlobalUnlock(handle_);
}

}  // namespace orvalen
