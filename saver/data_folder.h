#pragma once
// Where the user's settings files live: the default profile, the further
// profiles, the slide-show profile (with LastImage) and the calendar file the
// user edits. Beside the programs when the user can write there, as on
// Windows 9x or in a folder the user owns; otherwise in a folder of the
// user's own, filled from the installation on first use.
#include <functional>
#include <memory>
#include <optional>
#include <string>

#include "base/profile.h"

namespace orvalen {

inline constexpr const char* kDefaultProfileName = "Orvalen.orv";
inline constexpr const char* kSlideProfileName = "ovslide.dat";
// The user's folder is this below the shell's application-data folder.
inline constexpr const char* kUserDataSubfolder = "Orvalen\\";

// What the choice needs to know about the machine.
struct DataFolderFacts {
  // The user's own folder, with a trailing backslash; empty when the system
  // has no application-data folder.
  std::string userFolder;
  std::function<bool(const std::string& path)> fileExists;
  // Whether the running user can create a file in the folder.
  std::function<bool(const std::string& folder)> canCreateFilesIn;
};

// The folder of the user's settings files, with a trailing backslash. The
// user's folder once it holds a default profile: from then on every start of
// either program stays there, whatever the installation folder allows the
// process at hand (an elevated one can write into it, a filtered one cannot).
// Otherwise the installation folder when files can be created in it, and the
// user's folder when they cannot; the installation folder again when there
// is no user folder. The installation folder is probed only when needed.
std::string ChooseDataFolder(const std::string& programDir, const DataFolderFacts& facts);

// Same folder, letter case and a missing trailing backslash aside.
bool SameFolder(const std::string& a, const std::string& b);

// A name in a profile that refers to a file directly in the installation
// folder (a bare name, which the programs resolve in their current folder,
// the installation folder, or a full path into it): the file there and its
// place in the data folder. Nothing for any other name.
struct AdoptedName {
  std::string source;
  std::string target;
};
std::optional<AdoptedName> AdoptInstalledName(const std::string& value, const std::string& programDir,
                                              const std::string& dataDir);

// The file operations the first fill of the user's folder uses.
class DataFolderFiles {
 public:
  virtual ~DataFolderFiles() = default;
  virtual bool Exists(const std::string& path) = 0;
  virtual bool MakeFolder(const std::string& folder) = 0;
  // Copies without replacing; the copy is writable even when the source is
  // marked read-only.
  virtual bool Copy(const std::string& from, const std::string& to) = 0;
  virtual std::unique_ptr<Profile> OpenProfile(const std::string& path) = 0;
};

// First use of a user's folder that is not the installation folder: copies
// the installation's default profile into it, and with it the calendar files
// and the active profile that profile names in the installation folder,
// pointing the copies' names at the copied files, so that what the user edits
// can be saved. Pictures and tiles named by bare name stay where they are:
// the programs find them in their current folder, the installation folder.
// Does nothing once the user's folder holds a default profile.
void FillDataFolder(const std::string& programDir, const std::string& dataDir, DataFolderFiles& files);

}  // namespace orvalen
