#include "saver/data_folder.h"

#include <algorithm>
#include <cctype>
#include <vector>

#include "calendar/recent_files.h"
#include "saver/paths.h"
#include "saver/settings.h"

namespace orvalen {
namespace {

constexpr size_t kPathChars = 260;

std::string Lower(std::string text) {
  std::transform(text.begin(), text.end(), text.begin(),
                 [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
  return text;
}

std::string WithBackslash(std::string folder) {
  if (!folder.empty() && folder.back() != '\\') folder += '\\';
  return folder;
}

// Points a calendar name of the profile at the user's copy of the file,
// copying it on the way; a name whose file is missing stays as it is.
std::optional<std::string> AdoptFile(const std::string& value, const std::string& programDir,
                                     const std::string& dataDir, DataFolderFiles& files) {
  const std::optional<AdoptedName> adopted = AdoptInstalledName(value, programDir, dataDir);
  if (!adopted) return std::nullopt;
  if (!files.Exists(adopted->target) && !files.Copy(adopted->source, adopted->target)) return std::nullopt;
  return adopted->target;
}

// The calendar names of one copied profile: the calendar file the saver
// shows and the calendar editor's recent files.
void AdoptCalendarNames(Profile& profile, const std::string& programDir, const std::string& dataDir,
                        DataFolderFiles& files) {
  const std::string calendar =
      profile.GetString(profile_keys::kSettings, profile_keys::kCalendarFileName, "", kPathChars - 1);
  if (auto adopted = AdoptFile(calendar, programDir, dataDir, files)) {
    profile.WriteString(profile_keys::kSettings, profile_keys::kCalendarFileName, adopted->c_str());
  }
  TRecentFilesEx recent(profile);
  const std::vector<std::string> entries = recent.Entries();
  std::vector<std::string> adoptedEntries;
  bool changed = false;
  for (const std::string& entry : entries) {
    std::optional<std::string> adopted = AdoptFile(entry, programDir, dataDir, files);
    changed = changed || adopted.has_value();
    adoptedEntries.push_back(adopted ? *adopted : entry);
  }
  if (!changed) return;
  // Re-adding from the oldest keeps the order, newest first.
  for (const std::string& entry : entries) recent.Remove(entry);
  for (auto entry = adoptedEntries.rbegin(); entry != adoptedEntries.rend(); ++entry) recent.Add(*entry);
}

}  // namespace

bool SameFolder(const std::string& a, const std::string& b) {
  return Lower(WithBackslash(a)) == Lower(WithBackslash(b));
}

std::string ChooseDataFolder(const std::string& programDir, const DataFolderFacts& facts) {
  const std::string user = WithBackslash(facts.userFolder);
  if (user.empty() || SameFolder(user, programDir)) return programDir;
  if (facts.fileExists(user + kDefaultProfileName)) return user;
  if (facts.canCreateFilesIn(programDir)) return programDir;
  return user;
}

std::optional<AdoptedName> AdoptInstalledName(const std::string& value, const std::string& programDir,
                                              const std::string& dataDir) {
  if (value.empty() || SameFolder(programDir, dataDir)) return std::nullopt;
  const size_t slash = value.find_last_of("\\/:");
  const std::string name = slash == std::string::npos ? value : value.substr(slash + 1);
  if (name.empty()) return std::nullopt;
  if (slash != std::string::npos && !SameFolder(DirectoryOf(value), programDir)) return std::nullopt;
  return AdoptedName{programDir + name, dataDir + name};
}

void FillDataFolder(const std::string& programDir, const std::string& dataDir, DataFolderFiles& files) {
  if (SameFolder(programDir, dataDir)) return;
  const std::string defaultProfile = dataDir + kDefaultProfileName;
  if (files.Exists(defaultProfile)) return;
  files.MakeFolder(dataDir);
  if (!files.Copy(programDir + kDefaultProfileName, defaultProfile)) return;

  std::unique_ptr<Profile> defaults = files.OpenProfile(defaultProfile);
  AdoptCalendarNames(*defaults, programDir, dataDir, files);
  // KEY_PROFILE as an OK in the installation folder left it: the default
  // profile there becomes the user's copy; another profile there is copied
  // with its calendar names.
  const std::string active =
      defaults->GetString(profile_keys::kSettings, profile_keys::kKeyProfile, "", kPathChars);
  if (const std::optional<AdoptedName> adopted = AdoptInstalledName(active, programDir, dataDir)) {
    if (Lower(adopted->target) == Lower(defaultProfile)) {
      defaults->WriteString(profile_keys::kSettings, profile_keys::kKeyProfile, defaultProfile.c_str());
    } else if (files.Exists(adopted->target) || files.Copy(adopted->source, adopted->target)) {
      std::unique_ptr<Profile> other = files.OpenProfile(adopted->target);
      AdoptCalendarNames(*other, programDir, dataDir, files);
      other->Flush();
      defaults->WriteString(profile_keys::kSettings, profile_keys::kKeyProfile, adopted->target.c_str());
    }
  }
  defaults->Flush();
}

}  // namespace orvalen
