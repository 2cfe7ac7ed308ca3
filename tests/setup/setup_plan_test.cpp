// What Setup installs and Remove removes, decided without the platform.
#include "setup/setup_plan.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <set>

namespace orvalen::setup {
namespace {

std::string Lower(std::string text) {
  for (char& c : text) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return text;
}

TEST(SetupPlan, RemoveModeFollowsTheFileNameOnly) {
  const struct {
    const char* path;
    bool remove;
  } cases[] = {
      {"C:\\Program Files\\Orvalen\\Remove.exe", true},
      {"C:\\PROGRA~1\\ORVALEN\\REMOVE.EXE", true},
      {"c:\\x\\remove", true},
      {"Remove.exe", true},
      {"C:\\Remove\\Setup.exe", false},
      {"C:\\x.y\\Removed.exe", false},
      {"C:\\x\\Remove.old.exe", false},
      {"C:\\x\\Setup.exe", false},
  };
  for (const auto& c : cases) EXPECT_EQ(IsRemoveName(c.path), c.remove) << c.path;
}

TEST(SetupPlan, FoldersKeepExactlyOneTrailingBackslash) {
  EXPECT_EQ(FolderOf("C:\\dist\\Setup.exe"), "C:\\dist\\");
  EXPECT_EQ(FolderOf("D:\\Setup.exe"), "D:\\");
  EXPECT_EQ(WithBackslash("C:\\Program Files\\Orvalen"), "C:\\Program Files\\Orvalen\\");
  EXPECT_EQ(WithBackslash("C:\\"), "C:\\");
  EXPECT_EQ(WithoutBackslash("C:\\Program Files\\Orvalen\\"), "C:\\Program Files\\Orvalen");
  EXPECT_EQ(ProposedFolderIn("D:\\Saver"), "D:\\Saver\\Orvalen");
  EXPECT_EQ(ProposedFolderIn("C:\\"), "C:\\Orvalen");
}

TEST(SetupPlan, DeepFoldersAreMadeOutermostFirst) {
  const struct {
    const char* path;
    bool drive;
    std::vector<std::string> folders;
  } cases[] = {
      {"D:\\Saver\\Orvalen", true, {"D:", "D:\\Saver"}},
      {"D:\\Saver\\Orvalen\\", true, {"D:", "D:\\Saver", "D:\\Saver\\Orvalen"}},
      {"C:Orvalen", true, {}},
      {"Saver\\Orvalen", false, {"Saver"}},
      {"", false, {}},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(HasDriveLetter(c.path), c.drive) << c.path;
    EXPECT_EQ(LeadingFolders(c.path), c.folders) << c.path;
  }
  EXPECT_FALSE(HasDriveLetter("\\\\server\\share\\Orvalen"));
}

TEST(SetupPlan, SetupCopiesItselfAsRemoveAfterTheProgramFiles) {
  const auto copies = ProgramCopies("Z:\\dist\\", "C:\\Orv\\");
  ASSERT_FALSE(copies.empty());
  EXPECT_EQ(copies.back().from, "Z:\\dist\\Setup.exe");
  EXPECT_EQ(copies.back().to, "C:\\Orv\\Remove.exe");
  std::set<std::string> names;
  for (size_t i = 0; i + 1 < copies.size(); ++i) {
    const std::string name = copies[i].from.substr(8);
    EXPECT_EQ(copies[i].from, "Z:\\dist\\" + name);
    EXPECT_EQ(copies[i].to, "C:\\Orv\\" + name);
    names.insert(name);
  }
  for (const char* name :
       {"Orvalen.exe", "Orvalen.orv", "Orvalen.cal", "Orvalen.hlp", "ReadMe.txt", "TileOrvl.jpg",
        "vdelete1.jpg", "vdelete2.jpg", "vdelete3.jpg", "vdelete4.jpg"}) {
    EXPECT_EQ(names.count(name), 1u) << name;
  }
  const auto modules = ModuleCopies("Z:\\dist\\", "C:\\windows\\system32\\");
  ASSERT_EQ(modules.size(), 2u);
  EXPECT_EQ(modules[0].to, "C:\\windows\\system32\\Orvalen.scr");
  EXPECT_EQ(modules[1].to, "C:\\windows\\system32\\Orvalenx.dll");
}

// Whatever Setup leaves in the installation folder, Remove deletes again;
// only Remove.exe itself is left to the batch file.
TEST(SetupPlan, RemoveDeletesEverythingSetupPutIntoTheFolder) {
  std::set<std::string> removed;
  for (const std::string& path : RemovedFiles("C:\\Orv\\")) {
    ASSERT_EQ(path.rfind("C:\\Orv\\", 0), 0u) << path;
    removed.insert(Lower(path));
  }
  std::vector<std::string> installed;
  for (const FileCopy& copy : ProgramCopies("Z:\\", "C:\\Orv\\")) installed.push_back(copy.to);
  installed.push_back(PreviewShortcut("C:\\Orv\\", "C:\\windows\\system32\\").link);
  installed.push_back(ControlPanelShortcut("C:\\Orv\\", "C:\\windows\\rundll32.exe").link);
  for (const std::string& path : installed) {
    if (path == "C:\\Orv\\Remove.exe") continue;
    EXPECT_EQ(removed.count(Lower(path)), 1u) << path;
  }
  EXPECT_EQ(removed.count(Lower("C:\\Orv\\Remove.exe")), 0u);
  EXPECT_EQ(RemovedModules("C:\\w\\", "C:\\w\\s\\"),
            (std::vector<std::string>{"C:\\w\\Orvalen.scr", "C:\\w\\Orvalenx.dll",
                                      "C:\\w\\s\\Orvalen.scr", "C:\\w\\s\\Orvalenx.dll"}));
}

TEST(SetupPlan, ShortcutsPointWhereTheyShould) {
  const struct {
    Shortcut shortcut;
    Shortcut expected;
  } cases[] = {
      {PreviewShortcut("C:\\Orv\\", "C:\\w\\s\\"),
       {"C:\\Orv\\Orvalen Preview.lnk", "C:\\w\\s\\Orvalen.scr", "", "", 0}},
      {ControlPanelShortcut("C:\\Orv\\", "C:\\w\\rundll32.exe"),
       {"C:\\Orv\\Control Panel's Screen Savers.lnk", "C:\\w\\rundll32.exe",
        "shell32.dll,Control_RunDLL desk.cpl,,1", "C:\\Orv\\Orvalen.exe", 1}},
      {ProgramMenuShortcut("C:\\Start\\Programs", "C:\\Orv\\"),
       {"C:\\Start\\Programs\\Orvalen Screen Saver.lnk", "C:\\Orv\\Orvalen.exe", "", "", 0}},
      {DesktopShortcut("C:\\users\\me\\Desktop", "C:\\Orv\\"),
       {"C:\\users\\me\\Desktop\\Orvalen.lnk", "C:\\Orv\\Orvalen.exe", "", "", 0}},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(c.shortcut.link, c.expected.link);
    EXPECT_EQ(c.shortcut.target, c.expected.target) << c.expected.link;
    EXPECT_EQ(c.shortcut.arguments, c.expected.arguments) << c.expected.link;
    EXPECT_EQ(c.shortcut.iconPath, c.expected.iconPath) << c.expected.link;
    EXPECT_EQ(c.shortcut.iconIndex, c.expected.iconIndex) << c.expected.link;
  }
}

TEST(SetupPlan, BatchFileRetriesTheDeleteThenRemovesFolderAndItself) {
  EXPECT_EQ(SelfDeleteBatchText("C:\\Program Files\\Orvalen\\Remove.exe"),
            ":Repeat\r\n"
            "del \"C:\\Program Files\\Orvalen\\Remove.exe\"\r\n"
            "if exist \"C:\\Program Files\\Orvalen\\Remove.exe\" goto Repeat\r\n"
            "rmdir \"C:\\Program Files\\Orvalen\"\r\n"
            "del \"\\DelUS.bat\"\r\n");
}

TEST(SetupPlan, RenameEntryTakesTheFirstKeyThatReadsAsTheProbeDefault) {
  const struct {
    std::set<int> taken;
    std::string key;
  } cases[] = {
      {{}, "NUL0"},
      {{0, 1, 2, 3, 4}, "NUL5"},
      {{0, 2}, "NUL1"},
      {{199}, "NUL0"},
  };
  for (const auto& c : cases) {
    int reads = 0;
    const std::string key = FreeRenameKey([&](const std::string& name) {
      ++reads;
      const int slot = std::stoi(name.substr(3));
      return c.taken.count(slot) ? std::string("C:\\old.exe") : std::string(kRenameProbeDefault);
    });
    EXPECT_EQ(key, c.key);
    EXPECT_EQ(reads, std::stoi(c.key.substr(3)) + 1) << "probing goes on after the free key";
  }
  // All 200 taken (an empty value counts as taken): the first key is reused.
  std::vector<std::string> probed;
  EXPECT_EQ(FreeRenameKey([&](const std::string& name) {
              probed.push_back(name);
              return std::string();
            }),
            "NUL0");
  ASSERT_EQ(probed.size(), 200u);
  EXPECT_EQ(probed.back(), "NUL199");
}

// A 32-bit Setup on 64-bit Windows sees the System directory by its 32-bit
// name; the shell and the system's own settings need the folder the files
// really went to.
TEST(SetupPlan, PathsInTheSystemDirectoryTakeTheWow64NameForTheShell) {
  const std::string system = "C:\\Windows\\system32\\";
  const std::string wow64 = "C:\\Windows\\SysWOW64\\";
  const struct {
    std::string path, systemDir, wow64Dir, expected;
  } cases[] = {
      {system + "Orvalen.scr", system, wow64, wow64 + "Orvalen.scr"},
      {"c:\\WINDOWS\\SYSTEM32\\Orvalen.scr", system, wow64, wow64 + "Orvalen.scr"},
      {system, system, wow64, wow64},
      {"C:\\Windows\\system32", system, "C:\\Windows\\SysWOW64", "C:\\Windows\\SysWOW64"},
      {"C:\\Windows\\System32\\x", "C:\\Windows\\system32", "C:\\Windows\\SysWOW64",
       "C:\\Windows\\SysWOW64\\x"},
      {system + "Orvalen.scr", system, "", system + "Orvalen.scr"},
      {"C:\\Windows\\Orvalen.scr", system, wow64, "C:\\Windows\\Orvalen.scr"},
      {"C:\\Windows\\system32x\\Orvalen.scr", system, wow64,
       "C:\\Windows\\system32x\\Orvalen.scr"},
      {"C:\\Windows\\sys", system, wow64, "C:\\Windows\\sys"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(PathForShell(c.path, c.systemDir, c.wow64Dir), c.expected) << c.path;
  }
}

TEST(SetupPlan, SaverModuleIsLookedForInEveryFolderItMayBeInOnce) {
  EXPECT_EQ(SaverModulePaths("C:\\W\\", "C:\\W\\system32\\", "C:\\W\\SysWOW64\\"),
            (std::vector<std::string>{"C:\\W\\Orvalen.scr", "C:\\W\\system32\\Orvalen.scr",
                                      "C:\\W\\SysWOW64\\Orvalen.scr"}));
  EXPECT_EQ(SaverModulePaths("C:\\W\\", "C:\\W\\SYSTEM\\", ""),
            (std::vector<std::string>{"C:\\W\\Orvalen.scr", "C:\\W\\SYSTEM\\Orvalen.scr"}));
  EXPECT_EQ(SaverModulePaths("C:\\W", "c:\\w\\", ""),
            (std::vector<std::string>{"C:\\W\\Orvalen.scr"}));
}

TEST(SetupPlan, UninstallEntryQuotesTheCommandAndCountsWholeKilobytes) {
  EXPECT_EQ(Quoted("C:\\Program Files\\Orvalen\\Remove.exe"),
            "\"C:\\Program Files\\Orvalen\\Remove.exe\"");
  EXPECT_FALSE(std::string(kDisplayVersion).empty());
  const struct {
    std::vector<unsigned long long> sizes;
    unsigned long kb;
  } cases[] = {
      {{}, 0},
      {{0}, 0},
      {{1}, 1},
      {{1024}, 1},
      {{1025}, 2},
      {{1, 1, 1}, 3},
      {{1024 * 1024, 512, 2048}, 1024 + 1 + 2},
      {{0xFFFFFFFFull * 1024}, 0xFFFFFFFFul},
      {{0xFFFFFFFFull * 1024, 5000}, 0xFFFFFFFFul},
      {{~0ull}, 0xFFFFFFFFul},
  };
  for (const auto& c : cases) EXPECT_EQ(EstimatedSizeKb(c.sizes), c.kb) << c.sizes.size();
}

}  // namespace
}  // namespace orvalen::setup
