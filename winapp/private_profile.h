#pragma once
// Profile over the Windows private-profile functions.
#include <string>

#include "base/profile.h"

namespace orvalen {

class PrivateProfile final : public Profile {
 public:
  // The file name is resolved the way OpenFile searches: when a file of that
  // name exists, its fully qualified path is used; otherwise the name as given.
  // An empty name gives a profile that reads defaults and writes nothing.
  explicit PrivateProfile(const std::string& fileName);

  // win.ini in the Windows directory.
  static PrivateProfile WinIni();

  const std::string& Path() const { return path_; }

  std::string GetString(const char* section, const char* key, const char* defaultValue,
                        size_t maxChars) override;
  int GetInt(const char* section, const char* key, int defaultValue) override;
  void WriteString(const char* section, const char* key, const char* value) override;
  void ClearSection(const char* section) override;
  void Flush() override;

 private:
  struct WinIniTag {};
  explicit PrivateProfile(WinIniTag);

  std::string path_;
  bool winIni_ = false;
};

// The fully qualified path of an existing file of that name, searched the way
// OpenFile searches; the name unchanged when there is none.
std::string ResolveFileName(const std::string& fileName);

}  // namespace orvalen
