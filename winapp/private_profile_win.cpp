#include "winapp/private_profile.h"

#include <windows.h>

#include <vector>

namespace orvalen {

std::string ResolveFileName(const std::string& fileName) {
  if (fileName.empty()) return fileName;
  char found[MAX_PATH];
  char* filePart = nullptr;
  // SearchPath looks where OpenFile looks: the program's folder, the current
  // folder, the system folders, the Windows folder and the PATH.
  DWORD length = SearchPathA(nullptr, fileName.c_str(), nullptr, MAX_PATH, found, &filePart);
  if (length == 0 || length >= MAX_PATH) return fileName;
  DWORD attributes = GetFileAttributesA(found);
  if (attributes == INVALID_FILE_ATTRIBUTES || (attributes & FILE_ATTRIBUTE_DIRECTORY)) {
    return fileName;
  }
  return found;
}

PrivateProfile::PrivateProfile(const std::string& fileName) : path_(ResolveFileName(fileName)) {}

PrivateProfile::PrivateProfile(WinIniTag) : path_("win.ini"), winIni_(true) {}

PrivateProfile PrivateProfile::WinIni() { return PrivateProfile(WinIniTag{}); }

std::string PrivateProfile::GetString(const char* section, const char* key,
                                      const char* defaultValue, size_t maxChars) {
  if (path_.empty()) return std::string(defaultValue).substr(0, maxChars);
  std::vector<char> buffer(maxChars + 1, '\0');
  DWORD length = winIni_
      ? GetProfileStringA(section, key, defaultValue, buffer.data(), static_cast<DWORD>(buffer.size()))
      : GetPrivateProfileStringA(section, key, defaultValue, buffer.data(),
                                 static_cast<DWORD>(buffer.size()), path_.c_str());
  return std::string(buffer.data(), length);
}

int PrivateProfile::GetInt(const char* section, const char* key, int defaultValue) {
  if (path_.empty()) return defaultValue;
  UINT value = winIni_ ? GetProfileIntA(section, key, defaultValue)
                       : GetPrivateProfileIntA(section, key, defaultValue, path_.c_str());
  return static_cast<int>(value);
}

void PrivateProfile::WriteString(const char* section, const char* key, const char* value) {
  if (path_.empty()) return;
  if (winIni_) {
    WriteProfileStringA(section, key, value);
  } else {
    WritePrivateProfileStringA(section, key, value, path_.c_str());
  }
}

void PrivateProfile::ClearSection(const char* section) {
  if (path_.empty()) return;
  // A section's new keys as "key=value" strings, here none: the list ends at once.
  static const char kNoKeys[2] = {'\0', '\0'};
  if (winIni_) {
    WriteProfileSectionA(section, kNoKeys);
  } else {
    WritePrivateProfileSectionA(section, kNoKeys, path_.c_str());
  }
}

void PrivateProfile::Flush() {
  if (path_.empty()) return;
  if (winIni_) {
    WriteProfileStringA(nullptr, nullptr, nullptr);
  } else {
    WritePrivateProfileStringA(nullptr, nullptr, nullptr, path_.c_str());
  }
}

}  // namespace orvalen
