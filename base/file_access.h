#pragma once
// How code without <windows.h> reaches files that other programs may hold
// open at the same time: a shared open for reading, the flush to disk and
// the one-step replace a save needs. The portable set below uses the C
// library; the Win32 set (winapp/file_access_win.h) opens with full sharing
// and replaces through the file system's own replace.
#include <chrono>
#include <cstdio>
#include <string>
#include <thread>

namespace orvalen {

struct FileAccess {
  // Opens `path` for binary reading ("rb") so that other programs can still
  // write, rename, replace and delete it while it is open; null on failure.
  std::FILE* (*openRead)(const char* path);
  // Brings what was written to `file` (already flushed) onto the disk.
  bool (*flushToDisk)(std::FILE* file);
  // Puts the complete file `written` in the place of `target` in one step,
  // replacing a target that exists. On failure both stay as they were.
  bool (*replace)(const char* written, const char* target);
  // Waits before a replace is tried again.
  void (*pause)(int milliseconds);
};

// The replace of the C library: rename, which replaces the target in one step
// where the system allows it. Where rename refuses an existing target (the
// Windows C library does), the target is first set aside under a free name
// and put back if the move fails, so one complete file always carries the
// target's name or the set-aside one.
inline bool PortableReplace(const char* written, const char* target) {
  if (std::rename(written, target) == 0) return true;
  std::FILE* existing = std::fopen(target, "rb");
  if (!existing) return false;
  std::fclose(existing);
  std::string setAside;
  for (int n = 1; n < 1000; ++n) {
    setAside = std::string(target) + ".rep" + std::to_string(n) + "~";
    std::FILE* taken = std::fopen(setAside.c_str(), "rb");
    if (!taken) break;
    std::fclose(taken);
  }
  if (std::rename(target, setAside.c_str()) != 0) return false;
  if (std::rename(written, target) != 0) {
    std::rename(setAside.c_str(), target);
    return false;
  }
  std::remove(setAside.c_str());
  return true;
}

inline const FileAccess& PortableFileAccess() {
  static const FileAccess access{
      [](const char* path) { return std::fopen(path, "rb"); },
      [](std::FILE*) { return true; },
      PortableReplace,
      [](int milliseconds) { std::this_thread::sleep_for(std::chrono::milliseconds(milliseconds)); },
  };
  return access;
}

}  // namespace orvalen
