#include "saver/data_folder.h"

#include <gtest/gtest.h>

#include <map>
#include <set>
#include <vector>

#include "recording_profile_helpers.h"

namespace orvalen {
namespace {

constexpr char kInstall[] = "C:\\Program Files\\Orvalen\\";
constexpr char kUser[] = "C:\\Users\\ann\\AppData\\Roaming\\Orvalen\\";

TEST(DataFolder, ChoiceOfTheFolder) {
  struct Case {
    const char* name;
    std::string userFolder;
    bool userHoldsProfile;
    bool installWritable;
    std::string expected;
    bool probes;
  };
  const Case cases[] = {
      {"writable installation stays as it is", kUser, false, true, kInstall, true},
      {"read-only installation uses the user's folder", kUser, false, false, kUser, true},
      {"a filled user folder wins without a probe", kUser, true, true, kUser, false},
      {"user folder without backslash", "C:\\Users\\ann\\AppData\\Roaming\\Orvalen", false, false, kUser,
       true},
      {"no application-data folder", "", false, false, kInstall, false},
      {"user folder is the installation", "c:\\program files\\orvalen", true, false, kInstall, false},
  };
  for (const Case& c : cases) {
    int probes = 0;
    DataFolderFacts facts;
    facts.userFolder = c.userFolder;
    facts.fileExists = [&](const std::string& path) {
      EXPECT_EQ(path, std::string(kUser) + "Orvalen.orv") << c.name;
      return c.userHoldsProfile;
    };
    facts.canCreateFilesIn = [&](const std::string& folder) {
      EXPECT_EQ(folder, kInstall) << c.name;
      ++probes;
      return c.installWritable;
    };
    EXPECT_EQ(ChooseDataFolder(kInstall, facts), c.expected) << c.name;
    EXPECT_EQ(probes > 0, c.probes) << c.name;
  }
}

TEST(DataFolder, NamesThatReferToTheInstallation) {
  struct Case {
    const char* value;
    const char* target;  // null: not adopted
  };
  const Case cases[] = {
      {"Orvalen.cal", "Orvalen.cal"},
      {"C:\\Program Files\\Orvalen\\Orvalen.cal", "Orvalen.cal"},
      {"c:\\PROGRAM FILES\\orvalen\\My.cal", "My.cal"},
      {"C:\\Program Files\\Orvalen\\sub\\My.cal", nullptr},
      {"D:\\Calendars\\My.cal", nullptr},
      {"C:\\Program Files\\Orvalen\\", nullptr},
      {"", nullptr},
  };
  for (const Case& c : cases) {
    const std::optional<AdoptedName> adopted = AdoptInstalledName(c.value, kInstall, kUser);
    ASSERT_EQ(adopted.has_value(), c.target != nullptr) << c.value;
    if (!adopted) continue;
    EXPECT_EQ(adopted->target, std::string(kUser) + c.target) << c.value;
    EXPECT_EQ(adopted->source.substr(0, std::string(kInstall).size()), kInstall) << c.value;
  }
  EXPECT_FALSE(AdoptInstalledName("Orvalen.cal", kInstall, kInstall).has_value());
}

// A file system of profiles held in memory.
class FakeFiles final : public DataFolderFiles {
 public:
  std::set<std::string> existing;
  std::map<std::string, RecordingProfile> profiles;
  std::vector<std::string> copies;
  std::vector<std::string> folders;

  bool Exists(const std::string& path) override { return existing.count(path) > 0; }
  bool MakeFolder(const std::string& folder) override {
    folders.push_back(folder);
    return true;
  }
  bool Copy(const std::string& from, const std::string& to) override {
    if (!existing.count(from) || existing.count(to)) return false;
    existing.insert(to);
    profiles[to].values = profiles[from].values;
    copies.push_back(to);
    return true;
  }
  std::unique_ptr<Profile> OpenProfile(const std::string& path) override {
    return std::make_unique<Forwarding>(profiles[path]);
  }

  void Add(const std::string& path, std::map<std::string, std::map<std::string, std::string>> values = {}) {
    existing.insert(path);
    profiles[path].values = std::move(values);
  }
  std::string Value(const std::string& path, const char* section, const char* key) {
    return profiles[path].GetString(section, key, "<missing>", 260);
  }

 private:
  class Forwarding final : public Profile {
   public:
    explicit Forwarding(RecordingProfile& to) : to_(to) {}
    std::string GetString(const char* s, const char* k, const char* d, size_t n) override {
      return to_.GetString(s, k, d, n);
    }
    int GetInt(const char* s, const char* k, int d) override { return to_.GetInt(s, k, d); }
    void WriteString(const char* s, const char* k, const char* v) override { to_.WriteString(s, k, v); }
    void ClearSection(const char* s) override { to_.ClearSection(s); }
    void Flush() override { to_.Flush(); }

   private:
    RecordingProfile& to_;
  };
};

const std::string kInstalledProfile = std::string(kInstall) + "Orvalen.orv";
const std::string kUserProfile = std::string(kUser) + "Orvalen.orv";

TEST(DataFolder, FirstFillCopiesTheProfileAndTheCalendarItNames) {
  struct Case {
    const char* name;
    std::string calendar;
    bool calendarInstalled;
    std::string expectedCalendar;
  };
  const Case cases[] = {
      {"bare name", "Orvalen.cal", true, std::string(kUser) + "Orvalen.cal"},
      {"full path into the installation", std::string(kInstall) + "Orvalen.cal", true,
       std::string(kUser) + "Orvalen.cal"},
      {"calendar elsewhere", "D:\\My.cal", false, "D:\\My.cal"},
      {"named calendar missing", "Orvalen.cal", false, "Orvalen.cal"},
  };
  for (const Case& c : cases) {
    FakeFiles files;
    files.Add(kInstalledProfile, {{"Settings", {{"CALENDAR_FILENAME", c.calendar}, {"VALUE_DELAY", "7"}}},
                                  {"Files", {{"i0", "vdelete1.jpg"}}}});
    if (c.calendarInstalled) files.Add(std::string(kInstall) + "Orvalen.cal");
    FillDataFolder(kInstall, kUser, files);
    EXPECT_EQ(files.folders, std::vector<std::string>{kUser}) << c.name;
    EXPECT_TRUE(files.Exists(kUserProfile)) << c.name;
    EXPECT_EQ(files.Value(kUserProfile, "Settings", "CALENDAR_FILENAME"), c.expectedCalendar) << c.name;
    EXPECT_EQ(files.Exists(std::string(kUser) + "Orvalen.cal"), c.calendarInstalled) << c.name;
    // Pictures by bare name are found in the installation, the current folder.
    EXPECT_EQ(files.Value(kUserProfile, "Files", "i0"), "vdelete1.jpg") << c.name;
    EXPECT_EQ(files.Value(kUserProfile, "Settings", "VALUE_DELAY"), "7") << c.name;
    // The installation's own profile is only read.
    EXPECT_TRUE(files.profiles[kInstalledProfile].log.empty()) << c.name;
  }
}

TEST(DataFolder, FirstFillPointsTheActiveProfileAtTheUsersCopy) {
  struct Case {
    const char* name;
    std::string keyProfile;
    std::string expected;
  };
  const std::string installedOther = std::string(kInstall) + "evening.orv";
  const Case cases[] = {
      {"the installation's default profile", kInstalledProfile, kUserProfile},
      {"the same in other letter case", "c:\\program files\\orvalen\\ORVALEN.ORV", kUserProfile},
      {"another installed profile", installedOther, std::string(kUser) + "evening.orv"},
      {"a profile elsewhere", "D:\\mine.orv", "D:\\mine.orv"},
  };
  for (const Case& c : cases) {
    FakeFiles files;
    files.Add(kInstalledProfile, {{"Settings", {{"KEY_PROFILE", c.keyProfile}}}});
    files.Add(installedOther, {{"Settings", {{"CALENDAR_FILENAME", "Orvalen.cal"}}}});
    files.Add(std::string(kInstall) + "Orvalen.cal");
    files.Add("D:\\mine.orv");
    FillDataFolder(kInstall, kUser, files);
    EXPECT_EQ(files.Value(kUserProfile, "Settings", "KEY_PROFILE"), c.expected) << c.name;
    if (c.expected == std::string(kUser) + "evening.orv") {
      EXPECT_EQ(files.Value(c.expected, "Settings", "CALENDAR_FILENAME"), std::string(kUser) + "Orvalen.cal");
      EXPECT_TRUE(files.Exists(std::string(kUser) + "Orvalen.cal"));
    }
  }
}

TEST(DataFolder, FirstFillKeepsTheOrderOfTheRecentCalendars) {
  FakeFiles files;
  files.Add(kInstalledProfile, {{"Calendar MRU",
                                 {{"Count", "4"},
                                  {"MRU0", "D:\\newest.cal"},
                                  {"MRU1", std::string(kInstall) + "Orvalen.cal"},
                                  {"MRU2", "D:\\oldest.cal"},
                                  {"MRU3", "Default"}}}});
  files.Add(std::string(kInstall) + "Orvalen.cal");
  FillDataFolder(kInstall, kUser, files);
  EXPECT_EQ(files.Value(kUserProfile, "Calendar MRU", "MRU0"), "D:\\newest.cal");
  EXPECT_EQ(files.Value(kUserProfile, "Calendar MRU", "MRU1"), std::string(kUser) + "Orvalen.cal");
  EXPECT_EQ(files.Value(kUserProfile, "Calendar MRU", "MRU2"), "D:\\oldest.cal");
}

TEST(DataFolder, FillDoesNothingWhereThereIsNothingToFill) {
  struct Case {
    const char* name;
    std::string dataDir;
    bool userHoldsProfile;
    bool installHoldsProfile;
    std::vector<std::string> expectedFolders;
  };
  const Case cases[] = {
      {"data folder is the installation", kInstall, false, true, {}},
      {"user folder already filled", kUser, true, true, {}},
      // The folder is made all the same: the configuration program creates
      // its default profile there.
      {"nothing installed to copy", kUser, false, false, {kUser}},
  };
  for (const Case& c : cases) {
    FakeFiles files;
    if (c.installHoldsProfile) files.Add(kInstalledProfile, {{"Settings", {{"VALUE_DELAY", "7"}}}});
    if (c.userHoldsProfile) files.Add(kUserProfile, {{"Settings", {{"VALUE_DELAY", "9"}}}});
    FillDataFolder(kInstall, c.dataDir, files);
    EXPECT_TRUE(files.copies.empty()) << c.name;
    EXPECT_EQ(files.folders, c.expectedFolders) << c.name;
    if (c.userHoldsProfile) {
      EXPECT_EQ(files.Value(kUserProfile, "Settings", "VALUE_DELAY"), "9") << c.name;
    }
  }
}

}  // namespace
}  // namespace orvalen
