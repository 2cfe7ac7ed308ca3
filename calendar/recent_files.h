#pragma once
// TRecentFilesEx, the calendar editor's recent-files list: at most four paths,
// newest first, kept in the settings profile and written at once on change.
#include <array>
#include <string>
#include <vector>

#include "base/profile.h"

namespace orvalen {

constexpr char kRecentFilesSection[] = "Calendar MRU";
constexpr int kRecentFilesCount = 4;
// Menu command of the first recent file; the others follow.
constexpr int kRecentFileFirstCommand = 8055;

class TRecentFilesEx {
 public:
  explicit TRecentFilesEx(Profile& profile) : profile_(profile) { Load(); }

  // Reads the slots again; an empty slot or one reading "Default" is free.
  void Load();
  // Puts `path` first, removing it where it stood (case ignored), and writes.
  void Add(const std::string& path);
  // Removes `path` (case ignored): later entries move up, the last slot is
  // emptied; writes.
  void Remove(const std::string& path);

  // The non-empty entries from slot 0 upward: the menu's items, whose
  // commands count from kRecentFileFirstCommand.
  std::vector<std::string> Entries() const;
  // The path of a menu command, empty when it names no entry.
  std::string PathOfCommand(int command) const;

 private:
  // Takes `path` out of the slots; true when it was there.
  bool Drop(const std::string& path);
  void Write();

  Profile& profile_;
  std::array<std::string, kRecentFilesCount> slots_;
};

}  // namespace orvalen
