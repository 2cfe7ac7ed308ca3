#include "orvalenx/mapped_file_win.h"

namespace orvalen {

MappedFile::MappedFile(const char* path) {
  if (path == nullptr || path[0] == '\0') return;
  file_ = CreateFileA(path, GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file_ == INVALID_HANDLE_VALUE) return;
  LARGE_INTEGER size{};
  if (!GetFileSizeEx(file_, &size) || size.QuadPart <= 0 || size.QuadPart > (LONGLONG{1} << 30)) return;
  mapping_ = CreateFileMappingA(file_, nullptr, PAGE_READONLY, 0, 0, nullptr);
  if (mapping_ == nullptr) return;
  view_ = MapViewOfFile(mapping_, FILE_MAP_READ, 0, 0, 0);
  if (view_ != nullptr) size_ = static_cast<size_t>(size.QuadPart);
}

MappedFile::~MappedFile() {
  if (view_ != nullptr) UnmapViewOfFile(view_);
  if (mapping_ != nullptr) CloseHandle(mapping_);
  if (file_ != INVALID_HANDLE_VALUE) CloseHandle(file_);
}

}  // namespace orvalen
