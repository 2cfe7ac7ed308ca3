#include "calendar/recent_files.h"

#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

namespace orvalen {
namespace {

class MapProfile final : public Profile {
 public:
  std::map<std::string, std::string> values;  // "Section/Key"
  int writes = 0;
  int flushes = 0;

  std::string GetString(const char* section, const char* key, const char* defaultValue,
                        size_t) override {
    auto it = values.find(std::string(section) + "/" + key);
    return it == values.end() ? defaultValue : it->second;
  }
  int GetInt(const char* section, const char* key, int defaultValue) override {
    auto it = values.find(std::string(section) + "/" + key);
    return it == values.end() ? defaultValue : std::stoi(it->second);
  }
  void WriteString(const char* section, const char* key, const char* value) override {
    values[std::string(section) + "/" + key] = value;
    ++writes;
  }
  void ClearSection(const char*) override {}
  void Flush() override { ++flushes; }
};

using Paths = std::vector<std::string>;

TEST(RecentFiles, ReadsSlotsSkippingEmptyAndDefaultOnes) {
  MapProfile profile;
  profile.values["Calendar MRU/MRU0"] = "C:\\a.cal";
  profile.values["Calendar MRU/MRU1"] = "Default";
  profile.values["Calendar MRU/MRU2"] = "";
  profile.values["Calendar MRU/MRU3"] = "C:\\d.cal";
  profile.values["Calendar MRU/MRU4"] = "C:\\beyond.cal";
  TRecentFilesEx files(profile);
  EXPECT_EQ(files.Entries(), (Paths{"C:\\a.cal", "C:\\d.cal"}));
  EXPECT_EQ(files.PathOfCommand(8055), "C:\\a.cal");
  EXPECT_EQ(files.PathOfCommand(8056), "C:\\d.cal");
  EXPECT_EQ(files.PathOfCommand(8057), "");
  EXPECT_EQ(files.PathOfCommand(8054), "");
  EXPECT_EQ(profile.writes, 0);
}

TEST(RecentFiles, AddingPutsThePathFirstOnceAndWritesAtOnce) {
  struct Case {
    Paths before;
    std::string added;
    Paths after;
  };
  const Case cases[] = {
      {{}, "C:\\a.cal", {"C:\\a.cal"}},
      {{"a", "b", "c", "d"}, "e", {"e", "a", "b", "c"}},
      {{"a", "b", "c", "d"}, "c", {"c", "a", "b", "d"}},
      {{"a", "b"}, "B", {"B", "a"}},  // the same file spelt in another case
      {{"a", "b", "c", "d"}, "a", {"a", "b", "c", "d"}},
  };
  for (const Case& c : cases) {
    MapProfile profile;
    for (size_t i = 0; i < c.before.size(); ++i) {
      profile.values["Calendar MRU/MRU" + std::to_string(i)] = c.before[i];
    }
    TRecentFilesEx files(profile);
    files.Add(c.added);
    EXPECT_EQ(files.Entries(), c.after) << c.added;
    EXPECT_EQ(profile.values["Calendar MRU/Count"], "4");
    EXPECT_EQ(profile.flushes, 1);
    TRecentFilesEx reread(profile);
    EXPECT_EQ(reread.Entries(), c.after) << "as stored";
  }
}

TEST(RecentFiles, RemovingMovesLaterEntriesUp) {
  MapProfile profile;
  TRecentFilesEx files(profile);
  for (const char* path : {"d", "c", "b", "a"}) files.Add(path);
  files.Remove("B");
  EXPECT_EQ(files.Entries(), (Paths{"a", "c", "d"}));
  EXPECT_EQ(profile.values["Calendar MRU/MRU3"], "");
  EXPECT_EQ(files.PathOfCommand(8056), "c");
  const int writes = profile.writes;
  files.Remove("missing");
  EXPECT_EQ(profile.writes, writes);
}

}  // namespace
}  // namespace orvalen
