#include "saver/data_folder_win.h"

#include <windows.h>

#include <cstdio>

#include "saver/data_folder.h"
#include "winapp/private_profile.h"
#include "winapp/shell_handles_win.h"

namespace orvalen {
namespace {

bool Exists(const std::string& path) { return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

class SystemFiles final : public DataFolderFiles {
 public:
  bool Exists(const std::string& path) override { return orvalen::Exists(path); }

  bool MakeFolder(const std::string& folder) override {
    // The application-data folder itself may not exist yet on a new account.
    std::string parent = folder;
    while (!parent.empty() && parent.back() == '\\') parent.pop_back();
    const size_t slash = parent.find_last_of('\\');
    if (slash != std::string::npos) CreateDirectoryA(parent.substr(0, slash).c_str(), nullptr);
    return CreateDirectoryA(folder.c_str(), nullptr) || GetLastError() == ERROR_ALREADY_EXISTS;
  }

  bool Copy(const std::string& from, const std::string& to) override {
    if (!CopyFileA(from.c_str(), to.c_str(), TRUE)) return false;
    // A copy of a read-only installed file would stay read-only.
    const DWORD attributes = GetFileAttributesA(to.c_str());
    if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_READONLY)) {
      SetFileAttributesA(to.c_str(), attributes & ~FILE_ATTRIBUTE_READONLY);
    }
    return true;
  }

  std::unique_ptr<Profile> OpenProfile(const std::string& path) override {
    return std::make_unique<PrivateProfile>(path);
  }
};

}  // namespace

std::string UserDataFolder() {
  ItemIdList folder;
  if (FAILED(SHGetSpecialFolderLocation(nullptr, CSIDL_APPDATA, folder.Out()))) return {};
  std::string path = folder.Path();
  if (path.empty()) return {};
  if (path.back() != '\\') path += '\\';
  return path + kUserDataSubfolder;
}

bool CanCreateFilesIn(const std::string& folder) {
  for (int attempt = 0; attempt < 8; ++attempt) {
    char name[64];
    std::snprintf(name, sizeof name, "~ovprobe%08lx%04x.tmp", GetCurrentProcessId(),
                  static_cast<unsigned>((GetTickCount() + attempt) & 0xFFFF));
    const std::string path = folder + name;
    HANDLE probe = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                               FILE_ATTRIBUTE_TEMPORARY | FILE_ATTRIBUTE_HIDDEN | FILE_FLAG_DELETE_ON_CLOSE,
                               nullptr);
    if (probe != INVALID_HANDLE_VALUE) {
      CloseHandle(probe);
      // Windows 9x ignores the delete-on-close flag.
      DeleteFileA(path.c_str());
      return true;
    }
    if (GetLastError() != ERROR_FILE_EXISTS && GetLastError() != ERROR_ALREADY_EXISTS) return false;
  }
  return false;
}

std::string LocateDataFolder(const std::string& programDir) {
  DataFolderFacts facts;
  facts.userFolder = UserDataFolder();
  // Function pointers, not lambdas: on i686 GCC folded a lambda calling
  // Exists with SystemFiles::Exists, whose body is the same but whose calling
  // convention (thiscall) is not, and the call corrupted the stack.
  facts.fileExists = &Exists;
  facts.canCreateFilesIn = &CanCreateFilesIn;
  const std::string dataDir = ChooseDataFolder(programDir, facts);
  SystemFiles files;
  FillDataFolder(programDir, dataDir, files);
  return dataDir;
}

}  // namespace orvalen
