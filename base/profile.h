#pragma once
// Access to one settings file in Windows INI format. Every reader and writer
// of settings goes through this interface; the Win32 implementation is
// PrivateProfile (the private-profile functions), tests may use an in-memory
// one. No <windows.h> here, so platform-free code can take a Profile.
#include <cstddef>
#include <string>

namespace orvalen {

class Profile {
 public:
  virtual ~Profile() = default;

  // The value of `key` in `section`, at most `maxChars` characters, or
  // `defaultValue` when the file or key is missing.
  virtual std::string GetString(const char* section, const char* key, const char* defaultValue,
                                size_t maxChars) = 0;
  // The value read as a decimal integer the way GetPrivateProfileInt reads it.
  virtual int GetInt(const char* section, const char* key, int defaultValue) = 0;
  virtual void WriteString(const char* section, const char* key, const char* value) = 0;
  // Takes every key out of `section`, which stays in the file, empty.
  virtual void ClearSection(const char* section) = 0;
  void WriteInt(const char* section, const char* key, int value) {
    WriteString(section, key, std::to_string(value).c_str());
  }
  // Makes the system write its cached copy of the file to disk.
  virtual void Flush() = 0;
};

}  // namespace orvalen
