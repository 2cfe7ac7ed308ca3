#include "winapp/file_access_win.h"

#include <fcntl.h>
#include <io.h>

namespace orvalen {
namespace {

std::FILE* OpenShared(const char* path) {
  HANDLE file = CreateFileA(path, GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                            nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return nullptr;
  const int descriptor = _open_osfhandle(reinterpret_cast<intptr_t>(file), _O_RDONLY | _O_BINARY);
  if (descriptor == -1) {
    CloseHandle(file);
    return nullptr;
  }
  std::FILE* stream = _fdopen(descriptor, "rb");
  if (!stream) _close(descriptor);  // closes the handle too
  return stream;
}

bool FlushToDisk(std::FILE* file) {
  const intptr_t handle = _get_osfhandle(_fileno(file));
  return handle != -1 && FlushFileBuffers(reinterpret_cast<HANDLE>(handle));
}

// ReplaceFile takes the place of an existing target even while other
// programs hold it open with delete sharing (keeping its attributes);
// MoveFileEx makes a target that is not there yet.
bool Replace(const char* written, const char* target) {
  if (GetFileAttributesA(target) != INVALID_FILE_ATTRIBUTES) {
    // A target some program holds without delete sharing cannot be
    // replaced; asked anyway, some systems leave a temporary copy beside it.
    HANDLE deletable = CreateFileA(target, DELETE, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                   nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (deletable == INVALID_HANDLE_VALUE) return false;
    CloseHandle(deletable);
    return ReplaceFileA(target, written, nullptr, REPLACEFILE_IGNORE_MERGE_ERRORS, nullptr, nullptr) != FALSE;
  }
  return MoveFileExA(written, target, MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH) != FALSE;
}

void Pause(int milliseconds) { Sleep(static_cast<DWORD>(milliseconds)); }

}  // namespace

const FileAccess& Win32FileAccess() {
  static const FileAccess access{OpenShared, FlushToDisk, Replace, Pause};
  return access;
}

}  // namespace orvalen
