#pragma once
// What is at a path: the tests the programs make before they open a file or
// enter a folder.
#include <windows.h>

#include <string>

namespace orvalen {

// True when `path` names an existing file (not a folder).
inline bool FileExists(const std::string& path) {
  const DWORD attributes = GetFileAttributesA(path.c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

// True when `path` names an existing folder.
inline bool DirectoryExists(const std::string& path) {
  const DWORD attributes = GetFileAttributesA(path.c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

}  // namespace orvalen
