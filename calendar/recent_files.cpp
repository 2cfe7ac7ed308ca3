#include "calendar/recent_files.h"

#include <cstdio>
#include <string_view>

namespace orvalen {
namespace {

constexpr char kDefault[] = "Default";

std::string SlotKey(int slot) {
  char key[16];
  std::snprintf(key, sizeof key, "%s%d", "MRU", slot);
  return key;
}

bool SamePath(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i) {
    const auto lower = [](unsigned char c) { return c >= 'A' && c <= 'Z' ? c + 32 : c; };
    if (lower(a[i]) != lower(b[i])) return false;
  }
  return true;
}

}  // namespace

void TRecentFilesEx::Load() {
  for (int slot = 0; slot < kRecentFilesCount; ++slot) {
    std::string value = profile_.GetString(kRecentFilesSection, SlotKey(slot).c_str(), kDefault, 259);
    slots_[slot] = value == kDefault ? std::string() : value;
  }
}

bool TRecentFilesEx::Drop(const std::string& path) {
  bool dropped = false;
  for (int slot = 0; slot < kRecentFilesCount;) {
    if (!slots_[slot].empty() && SamePath(slots_[slot], path)) {
      for (int later = slot; later + 1 < kRecentFilesCount; ++later) slots_[later] = slots_[later + 1];
      slots_[kRecentFilesCount - 1].clear();
      dropped = true;
    } else {
      ++slot;
    }
  }
  return dropped;
}

void TRecentFilesEx::Remove(const std::string& path) {
  if (Drop(path)) Write();
}

void TRecentFilesEx::Add(const std::string& path) {
  if (path.empty()) return;
  Drop(path);
  for (int slot = kRecentFilesCount - 1; slot > 0; --slot) slots_[slot] = slots_[slot - 1];
  slots_[0] = path;
  Write();
}

std::vector<std::string> TRecentFilesEx::Entries() const {
  std::vector<std::string> entries;
  for (const std::string& slot : slots_) {
    if (!slot.empty()) entries.push_back(slot);
  }
  return entries;
}

std::string TRecentFilesEx::PathOfCommand(int command) const {
  const std::vector<std::string> entries = Entries();
  const int index = command - kRecentFileFirstCommand;
  if (index < 0 || index >= static_cast<int>(entries.size())) return {};
  return entries[index];
}

void TRecentFilesEx::Write() {
  profile_.WriteInt(kRecentFilesSection, "Count", kRecentFilesCount);
  for (int slot = 0; slot < kRecentFilesCount; ++slot) {
    profile_.WriteString(kRecentFilesSection, SlotKey(slot).c_str(), slots_[slot].c_str());
  }
  profile_.Flush();
}

}  // namespace orvalen
