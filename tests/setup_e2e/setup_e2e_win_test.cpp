// Setup.exe and Remove.exe as a user runs them. Each suite runs in a Wine
// prefix made fresh for it (tools/wine-scratch), so the registry, win.ini and
// system.ini of the shared test prefix stay as they were; the tests of a
// suite run in order and build on each other.
#include <windows.h>
#include <commctrl.h>
#include <shellapi.h>

#include <gtest/gtest.h>

#include "setup_e2e_win_helpers.h"

namespace orvalen::setup::e2e {
namespace {

constexpr char kUninstallKey[] = "software\\microsoft\\windows\\currentversion\\uninstall\\Orvalen";
constexpr char kSetupWindowClass[] = "OrvalenSetupWindow";
constexpr char kDesktopKey[] = "Control Panel\\Desktop";

bool SameText(const std::string& a, const std::string& b) { return lstrcmpiA(a.c_str(), b.c_str()) == 0; }

// What the files take on the disk in whole KB, as the uninstall entry says.
long long SizeKb(const std::vector<std::string>& paths) {
  long long kb = 0;
  for (const std::string& path : paths) kb += (ReadWholeFile(path).size() + 1023) / 1024;
  return kb;
}

struct FindText {
  const char* text;
  HWND found;
};

BOOL CALLBACK FindByText(HWND window, LPARAM data) {
  auto* search = reinterpret_cast<FindText*>(data);
  if (Text(window) != search->text) return TRUE;
  search->found = window;
  return FALSE;
}

HWND ControlWithText(HWND root, const char* text) {
  FindText search{text, nullptr};
  EnumChildWindows(root, &FindByText, reinterpret_cast<LPARAM>(&search));
  return search.found;
}

bool Checked(HWND button) { return SendMessageA(button, BM_GETCHECK, 0, 0) == BST_CHECKED; }

// Waits until `condition` holds; false on time-out.
template <typename Condition>
bool WaitUntil(Condition condition, DWORD timeoutMs = kTimeout) {
  const DWORD start = GetTickCount();
  while (!condition()) {
    if (GetTickCount() - start > timeoutMs) return false;
    Pause(20);
  }
  return true;
}

// A visible top-level window of that class and caption (null: any) that
// belongs to another process than `except`.
HWND WindowOfAnotherProcess(const char* className, const char* caption, DWORD except) {
  HWND found = nullptr;
  WaitUntil([&] {
    for (HWND window = nullptr; (window = FindWindowExA(nullptr, window, className, caption));) {
      DWORD process = 0;
      GetWindowThreadProcessId(window, &process);
      if (process != except && IsWindowVisible(window)) found = window;
    }
    return found != nullptr;
  });
  return found;
}

// The program file of the process that owns `window`.
std::string ProgramOf(HWND window) {
  DWORD process = 0;
  GetWindowThreadProcessId(window, &process);
  HANDLE handle = OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, process);
  if (!handle) return {};
  char path[MAX_PATH] = {};
  DWORD size = MAX_PATH;
  QueryFullProcessImageNameA(handle, 0, path, &size);
  CloseHandle(handle);
  return path;
}

// The running wizard and its parts.
struct Wizard {
  explicit Wizard(const std::string& setupPath) : program(setupPath) {
    main = program.WaitForWindow(kSetupWindowClass, "Setup Orvalen", kTimeout);
    if (!main) return;
    back = FindControl(main, 300);
    next = FindControl(main, 301);
    exit = FindControl(main, 15795);
    welcome = GetParent(FindControl(main, 1003));
    directory = GetParent(FindControl(main, 102, "Button"));
    copy = GetParent(ControlWithText(main, "Please wait,"));
    finished = GetParent(ControlWithText(main, "Launch Control Panel"));
  }
  bool Complete() const {
    return main && back && next && exit && welcome && directory && copy && finished;
  }
  // Clicks Next or Back and waits until `page` is the one shown (the page
  // host shows the new page before it hides the old one).
  bool Turn(HWND button, HWND page) {
    Click(button);
    return WaitUntil(
        [&] {
          int shown = 0;
          for (HWND each : {welcome, directory, copy, finished})
            shown += IsWindowVisible(each) ? 1 : 0;
          return IsWindowVisible(page) && shown == 1;
        },
        5000);
  }
  // Clicks a check box and waits until its state has changed.
  bool Toggle(HWND page, int id) {
    HWND box = GetDlgItem(page, id);
    const bool before = Checked(box);
    Click(box);
    return WaitUntil([&] { return Checked(box) != before; }, 5000);
  }
  // Clicks Next on the directory page and follows the copy page's status
  // line until Done appears; returns the status texts seen, in order.
  std::vector<std::string> InstallAndWatch() {
    std::vector<std::string> statuses;
    Click(next);
    WaitUntil([&] {
      const std::string status = Text(GetDlgItem(copy, 101));
      if (IsWindowVisible(copy) && (statuses.empty() || statuses.back() != status))
        statuses.push_back(status);
      if (IsWindowVisible(copy)) {
        buttonsHiddenWhileCopying &=
            !IsWindowVisible(next) && !IsWindowVisible(back) && !IsWindowEnabled(exit);
      }
      return Text(exit) == "Done";
    });
    if (!statuses.empty() && statuses.front() == "File copy in progress ...")
      statuses.erase(statuses.begin());
    return statuses;
  }

  Program program;
  HWND main = nullptr, back = nullptr, next = nullptr, exit = nullptr;
  HWND welcome = nullptr, directory = nullptr, copy = nullptr, finished = nullptr;
  bool buttonsHiddenWhileCopying = true;
};

const char* const kInstalledFiles[] = {"Orvalen.exe",
                                       "Orvalen.orv",
                                       "Orvalen.cal",
                                       "Orvalen.htm",
                                       "ReadMe.txt",
                                       "TileOrvl.jpg",
                                       "vdelete1.jpg",
                                       "vdelete2.jpg",
                                       "vdelete3.jpg",
                                       "vdelete4.jpg",
                                       "Remove.exe",
                                       "Orvalen Preview.lnk",
                                       "Control Panel's Screen Savers.lnk"};

std::string DesktopLink() { return ShellFolder("Desktop") + "\\Orvalen.lnk"; }
std::string ProgramsLink() { return ShellFolder("Programs") + "\\Orvalen Screen Saver.lnk"; }

// ---- Install with the defaults, then remove ----

TEST(InstallThenRemove, NextTwiceAndDoneInstallsEverything) {
  const std::string source = CopyDistFolder("dist");
  const std::string systemIni = ReadWholeFile(WindowsFolder() + "system.ini");
  const std::string userSaver = UserValue(kDesktopKey, "SCRNSAVE.EXE");
  {
    Wizard wizard(source + "Setup.exe");
    ASSERT_TRUE(wizard.Complete());
    EXPECT_EQ(GetWindowLongA(wizard.main, GWL_STYLE) & WS_MAXIMIZEBOX, 0);
    EXPECT_EQ(Text(wizard.back), "< &Back");
    EXPECT_EQ(Text(wizard.next), "&Next >");
    EXPECT_EQ(Text(wizard.exit), "Exit");
    EXPECT_TRUE(IsWindowVisible(wizard.welcome));
    EXPECT_FALSE(IsWindowVisible(wizard.directory));
    EXPECT_FALSE(IsWindowEnabled(wizard.back));
    EXPECT_TRUE(Checked(GetDlgItem(wizard.welcome, 104)));
    EXPECT_FALSE(Checked(GetDlgItem(wizard.welcome, 103)));
    EXPECT_FALSE(Checked(GetDlgItem(wizard.welcome, 101)));

    ASSERT_TRUE(wizard.Turn(wizard.next, wizard.directory));
    EXPECT_FALSE(IsWindowVisible(wizard.welcome));
    EXPECT_TRUE(IsWindowVisible(wizard.directory));
    EXPECT_TRUE(WaitUntil([&] { return IsWindowEnabled(wizard.back); }, 5000));
    EXPECT_EQ(Text(GetDlgItem(wizard.directory, 101)), "C:\\Program Files\\Orvalen");

    EXPECT_EQ(wizard.InstallAndWatch(),
              (std::vector<std::string>{"Copy in progress ...\n\n \n", "Installing Orvalen...",
                                        "Registering uninstall information..."}));
    EXPECT_TRUE(wizard.buttonsHiddenWhileCopying);
    EXPECT_EQ(Text(GetDlgItem(wizard.copy, 102)), "Please wait,");
    ASSERT_EQ(Text(wizard.exit), "Done");
    EXPECT_TRUE(WaitUntil(
        [&] { return IsWindowVisible(wizard.finished) && IsWindowEnabled(wizard.exit); }));
    EXPECT_FALSE(IsWindowVisible(wizard.copy));
    EXPECT_FALSE(Checked(GetDlgItem(wizard.finished, 104)));
    Click(wizard.exit);
    EXPECT_EQ(wizard.program.WaitForExit(kTimeout), 0);
  }

  for (const char* file : kInstalledFiles) EXPECT_TRUE(FileExists(InstallFolder() + file)) << file;
  EXPECT_EQ(ReadWholeFile(InstallFolder() + "Remove.exe"), ReadWholeFile(source + "Setup.exe"));
  EXPECT_EQ(ReadWholeFile(SystemFolder() + "Orvalen.scr"), ReadWholeFile(source + "Orvalen.scr"));
  EXPECT_EQ(ReadWholeFile(SystemFolder() + "Orvalenx.dll"), ReadWholeFile(source + "Orvalenx.dll"));
  EXPECT_FALSE(FileExists(WindowsFolder() + "Orvalen.scr"));
  EXPECT_EQ(ProfileValue("win.ini", "Orvalen", "Dir"), InstallFolder());
  EXPECT_EQ(MachineValue(kUninstallKey, "DisplayName"), "Orvalen");
  EXPECT_EQ(MachineValue(kUninstallKey, "UninstallString"),
            std::string("\"").append(InstallFolder()).append("Remove.exe\""));
  EXPECT_EQ(MachineValue(kUninstallKey, "DisplayIcon"), InstallFolder() + "Orvalen.exe");
  EXPECT_EQ(MachineValue(kUninstallKey, "DisplayVersion"), "1.0.0.0");
  EXPECT_EQ(MachineValue(kUninstallKey, "Publisher"), "Orvalen");
  EXPECT_EQ(MachineValue(kUninstallKey, "InstallLocation"), InstallFolder());
  EXPECT_EQ(MachineDword(kUninstallKey, "NoModify"), 1);
  EXPECT_EQ(MachineDword(kUninstallKey, "NoRepair"), 1);
  std::vector<std::string> sized = {SystemFolder() + "Orvalen.scr",
                                    SystemFolder() + "Orvalenx.dll"};
  for (const char* file : kInstalledFiles) {
    if (!strstr(file, ".lnk")) sized.push_back(InstallFolder() + file);
  }
  EXPECT_EQ(MachineDword(kUninstallKey, "EstimatedSize"), SizeKb(sized));
  EXPECT_GT(MachineDword(kUninstallKey, "EstimatedSize"), 100);
  EXPECT_EQ(ReadWholeFile(WindowsFolder() + "system.ini"), systemIni);
  EXPECT_EQ(UserValue(kDesktopKey, "SCRNSAVE.EXE"), userSaver);

  const struct {
    std::string link;
    std::string target, arguments, iconPath;
    int iconIndex;
  } links[] = {
      {InstallFolder() + "Orvalen Preview.lnk", SystemFolder() + "Orvalen.scr", "", "", 0},
      {InstallFolder() + "Control Panel's Screen Savers.lnk", SystemFolder() + "rundll32.exe",
       "shell32.dll,Control_RunDLL desk.cpl,,1", InstallFolder() + "Orvalen.exe", 1},
      {DesktopLink(), InstallFolder() + "Orvalen.exe", "", "", 0},
  };
  for (const auto& expected : links) {
    const LinkInfo link = ReadShortcut(expected.link);
    ASSERT_TRUE(link.loaded) << expected.link;
    EXPECT_EQ(lstrcmpiA(link.target.c_str(), expected.target.c_str()), 0) << link.target;
    EXPECT_TRUE(FileExists(link.target)) << link.target;
    EXPECT_EQ(link.description, "Created By Orvalen");
    EXPECT_EQ(link.arguments, expected.arguments);
    EXPECT_EQ(link.iconPath, expected.iconPath);
    if (!expected.iconPath.empty()) {
      EXPECT_EQ(link.iconIndex, expected.iconIndex);
      // The icon the link names is there to show.
      HICON icon = nullptr;
      EXPECT_EQ(ExtractIconExA(link.iconPath.c_str(), link.iconIndex, &icon, nullptr, 1), 1u)
          << link.iconPath << "," << link.iconIndex;
      if (icon) DestroyIcon(icon);
    }
  }
  EXPECT_FALSE(FileExists(ProgramsLink()));
}

TEST(InstallThenRemove, NoRemovesNothingAndWritesNoBatchFile) {
  Program remove(InstallFolder() + "Remove.exe");
  const MessageBoxSeen box = WaitForMessageBox(remove, "UnInstall");
  ASSERT_TRUE(box.window);
  EXPECT_EQ(box.text, "UnInstall Orvalen?");
  EXPECT_TRUE(box.Has(IDYES) && box.Has(IDNO));
  EXPECT_EQ(box.defaultButton, IDNO);
  // No pages: the main window is small and in the corner.
  HWND main = remove.WaitForWindow(kSetupWindowClass, nullptr, 0);
  ASSERT_TRUE(main);
  RECT rect{};
  GetWindowRect(main, &rect);
  EXPECT_EQ(rect.left, 10);
  EXPECT_EQ(rect.top, 10);
  EXPECT_EQ(rect.right - rect.left, 30);
  EXPECT_EQ(rect.bottom - rect.top, 30);
  EXPECT_FALSE(FindControl(main, 1003));
  Click(box.window, IDNO);
  EXPECT_EQ(remove.WaitForExit(kTimeout), 0);

  for (const char* file : kInstalledFiles) EXPECT_TRUE(FileExists(InstallFolder() + file)) << file;
  EXPECT_TRUE(FileExists(SystemFolder() + "Orvalen.scr"));
  EXPECT_TRUE(FileExists(DesktopLink()));
  EXPECT_TRUE(MachineKeyExists(kUninstallKey));
  EXPECT_FALSE(FileExists("C:\\DelUS.bat"));
  EXPECT_EQ(ProfileValue("WININIT.INI", "RENAME", "NUL0"), "<missing>");
}

TEST(InstallThenRemove, YesRemovesWhatSetupInstalledAndKeepsTheUsersFiles) {
  WriteWholeFile(InstallFolder() + "mine.jpg", "the user's own picture");
  for (int slot = 0; slot < 5; ++slot) {
    const std::string key = "NUL" + std::to_string(slot);
    WritePrivateProfileStringA("RENAME", key.c_str(),
                               ("C:\\old" + std::to_string(slot) + ".exe").c_str(), "WININIT.INI");
  }
  const std::string remover = InstallFolder() + "Remove.exe";
  CreateDirectoryA("C:\\leftover", nullptr);
  ASSERT_TRUE(CopyFileA(remover.c_str(), "C:\\leftover\\Remove.exe", FALSE));
  // Another saver the user chose stays chosen.
  const std::string otherSaver = SystemFolder() + "other.scr";
  SetUserValue(kDesktopKey, "SCRNSAVE.EXE", otherSaver);
  WritePrivateProfileStringA("boot", "SCRNSAVE.EXE", "C:\\OTHER.SCR", "system.ini");
  // A batch file someone left at the root, with the permissions the root
  // gives, is not the one that runs.
  WriteWholeFile("C:\\DelUS.bat", "echo planted\r\n");
  const std::string plantedPermissions = PermissionsOf("C:\\DelUS.bat");

  Program remove(remover);
  const MessageBoxSeen box = WaitForMessageBox(remove, "UnInstall");
  ASSERT_TRUE(box.window);
  // While the test holds Remove.exe, the batch file must keep retrying.
  HANDLE hold = CreateFileA(remover.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                            0, nullptr);
  ASSERT_NE(hold, INVALID_HANDLE_VALUE);
  Click(box.window, IDYES);
  EXPECT_EQ(remove.WaitForExit(kTimeout), 0);

  EXPECT_FALSE(MachineKeyExists(kUninstallKey));
  for (const char* file : kInstalledFiles) {
    if (lstrcmpA(file, "Remove.exe") != 0) {
      EXPECT_FALSE(FileExists(InstallFolder() + file)) << file;
    }
  }
  EXPECT_FALSE(FileExists(DesktopLink()));
  EXPECT_FALSE(FileExists(SystemFolder() + "Orvalen.scr"));
  EXPECT_FALSE(FileExists(SystemFolder() + "Orvalenx.dll"));
  EXPECT_EQ(ProfileValue("WININIT.INI", "RENAME", "NUL4"), "C:\\old4.exe");
  EXPECT_EQ(ProfileValue("WININIT.INI", "RENAME", "NUL5"), remover);
  bool deletionPending = false;
  for (const auto& [from, to] : PendingRestartOperations())
    deletionPending |= SameText(from, remover) && to.empty();
  EXPECT_TRUE(deletionPending);
  EXPECT_EQ(ProfileValue("win.ini", "Orvalen", "Dir"), "<missing>");
  EXPECT_EQ(UserValue(kDesktopKey, "SCRNSAVE.EXE"), otherSaver);
  EXPECT_EQ(ProfileValue("system.ini", "boot", "SCRNSAVE.EXE"), "C:\\OTHER.SCR");

  ASSERT_TRUE(WaitForFile("C:\\DelUS.bat", true, 5000));
  EXPECT_EQ(ReadWholeFile("C:\\DelUS.bat"),
            ":Repeat\r\ndel \"C:\\Program Files\\Orvalen\\Remove.exe\"\r\n"
            "if exist \"C:\\Program Files\\Orvalen\\Remove.exe\" goto Repeat\r\n"
            "rmdir \"C:\\Program Files\\Orvalen\"\r\ndel \"\\DelUS.bat\"\r\n");
  // Nobody but SYSTEM and the administrators gets at it (Wine keeps no
  // permissions of a file's own and shows what its file mode allows: the
  // owner's, and no longer everyone's).
  const std::string permissions = PermissionsOf("C:\\DelUS.bat");
  EXPECT_NE(plantedPermissions.find(";;;WD)"), std::string::npos) << plantedPermissions;
  EXPECT_EQ(permissions.rfind("D:", 0), 0u) << permissions;
  for (const char* others : {";;;WD)", ";;;AU)", ";;;BU)"})
    EXPECT_EQ(permissions.find(others), std::string::npos) << permissions;
  Pause(500);
  EXPECT_TRUE(FileExists(remover));
  CloseHandle(hold);
  EXPECT_TRUE(WaitForFile(remover, false, kTimeout));
  EXPECT_TRUE(WaitForFile("C:\\DelUS.bat", false, kTimeout));
  EXPECT_TRUE(FileExists(InstallFolder() + "mine.jpg"));
}

TEST(InstallThenRemove, ASecondRemoveReportsNothingAndRemovesNothingMore) {
  Program remove("C:\\leftover\\Remove.exe");
  const MessageBoxSeen box = WaitForMessageBox(remove, "UnInstall");
  ASSERT_TRUE(box.window);
  Click(box.window, IDYES);
  // Nothing but the small main window may show until the program ends.
  int otherWindows = 0;
  WaitUntil([&] {
    for (HWND window : remove.Windows()) {
      char name[64] = {};
      GetClassNameA(window, name, sizeof name);
      if (window != box.window && lstrcmpA(name, kSetupWindowClass) != 0) ++otherWindows;
    }
    return !remove.Running();
  });
  EXPECT_EQ(remove.WaitForExit(kTimeout), 0);
  EXPECT_EQ(otherWindows, 0);
  EXPECT_TRUE(FileExists(InstallFolder() + "mine.jpg"));
  EXPECT_EQ(ProfileValue("WININIT.INI", "RENAME", "NUL6"), "C:\\leftover\\Remove.exe");
  // The leftover copy and its folder go through their own batch file.
  EXPECT_TRUE(WaitForFile("C:\\leftover", false, kTimeout));
  EXPECT_TRUE(WaitForFile("C:\\DelUS.bat", false, kTimeout));
}

// ---- Install as the default saver with a program-menu shortcut ----

TEST(DefaultSaver, ChosenOptionsSetTheSaverAndTheProgramMenuShortcut) {
  const std::string source = CopyDistFolder("dist");
  // A file missing from the source folder is left out; the rest goes on.
  ASSERT_TRUE(DeleteFileA((source + "vdelete2.jpg").c_str()));
  {
    Wizard wizard(source + "Setup.exe");
    ASSERT_TRUE(wizard.Complete());
    ASSERT_TRUE(wizard.Toggle(wizard.welcome, 101));
    ASSERT_TRUE(wizard.Toggle(wizard.welcome, 103));
    ASSERT_TRUE(wizard.Toggle(wizard.welcome, 104));
    ASSERT_TRUE(wizard.Turn(wizard.next, wizard.directory));
    // Back shows the options again, with the choices kept.
    ASSERT_TRUE(wizard.Turn(wizard.back, wizard.welcome));
    EXPECT_FALSE(IsWindowVisible(wizard.directory));
    EXPECT_FALSE(IsWindowEnabled(wizard.back));
    EXPECT_TRUE(Checked(GetDlgItem(wizard.welcome, 101)));
    EXPECT_FALSE(Checked(GetDlgItem(wizard.welcome, 104)));
    ASSERT_TRUE(wizard.Turn(wizard.next, wizard.directory));
    wizard.InstallAndWatch();
    ASSERT_EQ(Text(wizard.exit), "Done");
    Click(wizard.exit);
    EXPECT_EQ(wizard.program.WaitForExit(kTimeout), 0);
  }
  char shortPath[MAX_PATH] = {};
  ASSERT_NE(GetShortPathNameA((SystemFolder() + "Orvalen.scr").c_str(), shortPath, MAX_PATH), 0u);
  EXPECT_EQ(ProfileValue("system.ini", "boot", "SCRNSAVE.EXE"), shortPath);
  EXPECT_EQ(UserValue(kDesktopKey, "SCRNSAVE.EXE"), SystemFolder() + "Orvalen.scr");
  EXPECT_EQ(UserValue(kDesktopKey, "ScreenSaveActive"), "1");
  EXPECT_TRUE(ReadShortcut(ProgramsLink()).loaded);
  EXPECT_FALSE(FileExists(DesktopLink()));
  EXPECT_FALSE(FileExists(InstallFolder() + "vdelete2.jpg"));
  for (const char* file : {"vdelete3.jpg", "Remove.exe", "Control Panel's Screen Savers.lnk"}) {
    EXPECT_TRUE(FileExists(InstallFolder() + file)) << file;
  }
}

// Setup started from the installation folder itself (here by its short
// name) installs the saver module it finds there instead of deleting it as
// an older copy.
TEST(DefaultSaver, SetupRunFromTheInstallationFolderKeepsItsSaverModule) {
  const std::string source = CopyDistFolder("Program Files\\Orvalen");
  ASSERT_EQ(source, InstallFolder());
  ASSERT_TRUE(DeleteFileA((SystemFolder() + "Orvalen.scr").c_str()));
  char shortSource[MAX_PATH] = {};
  ASSERT_NE(GetShortPathNameA(source.c_str(), shortSource, MAX_PATH), 0u);
  {
    Wizard wizard(std::string(shortSource) + "Setup.exe");
    ASSERT_TRUE(wizard.Complete());
    ASSERT_TRUE(wizard.Turn(wizard.next, wizard.directory));
    wizard.InstallAndWatch();
    ASSERT_EQ(Text(wizard.exit), "Done");
    Click(wizard.exit);
    EXPECT_EQ(wizard.program.WaitForExit(kTimeout), 0);
  }
  const std::string module = ReadWholeFile(DistFolder() + "Orvalen.scr");
  ASSERT_FALSE(module.empty());
  for (const std::string& copy : {InstallFolder() + "Orvalen.scr", SystemFolder() + "Orvalen.scr"})
    EXPECT_TRUE(ReadWholeFile(copy) == module) << copy;
}

// Remove finds the program-menu shortcut through the shell's own folder,
// not the registry value Setup read.
TEST(DefaultSaver, RemoveTakesTheProgramMenuShortcutToo) {
  ASSERT_TRUE(FileExists(ProgramsLink()));
  Program remove(InstallFolder() + "Remove.exe");
  const MessageBoxSeen box = WaitForMessageBox(remove, "UnInstall");
  ASSERT_TRUE(box.window);
  Click(box.window, IDYES);
  EXPECT_EQ(remove.WaitForExit(kTimeout), 0);
  EXPECT_FALSE(FileExists(ProgramsLink()));
  // What made the saver the default is taken back.
  EXPECT_EQ(UserValue(kDesktopKey, "SCRNSAVE.EXE"), "<missing>");
  EXPECT_EQ(UserValue(kDesktopKey, "ScreenSaveActive"), "0");
  EXPECT_EQ(ProfileValue("system.ini", "boot", "SCRNSAVE.EXE"), "<missing>");
  EXPECT_EQ(ProfileValue("win.ini", "Orvalen", "Dir"), "<missing>");
  EXPECT_TRUE(WaitForFile(InstallFolder() + "Remove.exe", false, kTimeout));
}

// ---- An upgrade while the control panel's preview holds the saver ----

TEST(ModuleInUse, TheHeldModuleIsReplacedAtRestartAndSetupSaysSo) {
  const std::string source = CopyDistFolder("dist");
  const std::string module = SystemFolder() + "Orvalen.scr";
  WriteWholeFile(module, "the older saver");
  HANDLE hold = CreateFileA(module.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                            0, nullptr);
  ASSERT_NE(hold, INVALID_HANDLE_VALUE);
  {
    Wizard wizard(source + "Setup.exe");
    ASSERT_TRUE(wizard.Complete());
    ASSERT_TRUE(wizard.Turn(wizard.next, wizard.directory));
    Click(wizard.next);
    const MessageBoxSeen box = WaitForMessageBox(wizard.program, "Orvalen Setup");
    ASSERT_TRUE(box.window);
    EXPECT_EQ(box.text, "These files are in use and could not be replaced:\n\n" + module +
                            "\n\nSetup has arranged for them to be replaced when Windows "
                            "restarts.");
    Click(box.window, IDOK);
    ASSERT_TRUE(WaitUntil([&] { return Text(wizard.exit) == "Done"; }));
    EXPECT_EQ(Text(GetDlgItem(wizard.finished, 102)),
              "Restart Windows to complete the installation.\nYou can add images to Orvalen now "
              "or later.");
    Click(wizard.exit);
    EXPECT_EQ(wizard.program.WaitForExit(kTimeout), 0);
  }
  CloseHandle(hold);
  EXPECT_EQ(ReadWholeFile(module), "the older saver");
  EXPECT_EQ(ReadWholeFile(SystemFolder() + "Orvalenx.dll"), ReadWholeFile(source + "Orvalenx.dll"));
  std::string waiting;
  for (const auto& [from, to] : PendingRestartOperations()) {
    if (SameText(to, "!" + module)) waiting = from;
  }
  ASSERT_FALSE(waiting.empty());
  EXPECT_TRUE(SameText(waiting.substr(0, SystemFolder().size()), SystemFolder())) << waiting;
  EXPECT_EQ(ReadWholeFile(waiting), ReadWholeFile(source + "Orvalen.scr"));
}

// ---- Questions, refusals and the ways out ----

TEST(WithoutInstalling, ExitAsksAndNoStaysEscapeAndCloseCommandsDoNothing) {
  const std::string source = CopyDistFolder("dist");
  Wizard wizard(source + "Setup.exe");
  ASSERT_TRUE(wizard.Complete());
  Click(wizard.exit);
  MessageBoxSeen box = WaitForMessageBox(wizard.program, "Orvalen Setup");
  ASSERT_TRUE(box.window);
  EXPECT_EQ(box.text, "Setup is not complete\nAre you sure you want to exit?");
  EXPECT_EQ(box.defaultButton, IDNO);
  Click(box.window, IDNO);
  Pause(300);
  EXPECT_TRUE(wizard.program.Running());
  EXPECT_TRUE(IsWindowVisible(wizard.welcome));

  // Escape, Enter's IDOK and the close command reach the frame and the pages
  // and are ignored.
  PostMessageA(wizard.next, WM_KEYDOWN, VK_ESCAPE, 0);
  for (HWND dialog : {GetParent(wizard.next), wizard.welcome}) {
    PostMessageA(dialog, WM_COMMAND, IDCANCEL, 0);
    PostMessageA(dialog, WM_COMMAND, IDOK, 0);
    PostMessageA(dialog, WM_CLOSE, 0, 0);
  }
  Pause(500);
  EXPECT_TRUE(wizard.program.Running());
  EXPECT_EQ(wizard.program.Windows().size(), 1u);
  EXPECT_TRUE(IsWindowVisible(wizard.welcome));
}

TEST(WithoutInstalling, SettingsAndPreviewStartTheProgramOfTheSourceFolder) {
  const std::string source = CopyDistFolder("dist");
  Wizard wizard(source + "Setup.exe");
  ASSERT_TRUE(wizard.Complete());
  DWORD setupProcess = 0;
  GetWindowThreadProcessId(wizard.main, &setupProcess);

  // "/c:" with the page's window: the configuration dialog is owned by the
  // wizard.
  Click(wizard.welcome, 1003);
  HWND configure = WindowOfAnotherProcess("#32770", "Orvalen", setupProcess);
  ASSERT_TRUE(configure);
  EXPECT_EQ(lstrcmpiA(ProgramOf(configure).c_str(), (source + "Orvalen.exe").c_str()), 0);
  EXPECT_EQ(GetWindow(configure, GW_OWNER), wizard.main);
  PostMessageA(configure, WM_COMMAND, IDCANCEL, 0);
  EXPECT_TRUE(WaitUntil([&] { return !IsWindow(configure); }));

  // "/s": the saver, full screen, ended by a key.
  Click(wizard.welcome, 1004);
  HWND saver = WindowOfAnotherProcess("ORVALEN_SAVER_CLASS", nullptr, setupProcess);
  ASSERT_TRUE(saver);
  EXPECT_EQ(lstrcmpiA(ProgramOf(saver).c_str(), (source + "Orvalen.exe").c_str()), 0);
  Pause(400);
  PostMessageA(saver, WM_KEYDOWN, 'Q', 0);
  EXPECT_TRUE(WaitUntil([&] { return !IsWindow(saver); }));
  EXPECT_TRUE(wizard.program.Running());
}

TEST(WithoutInstalling, BrowseRefusesAPathWithoutDriveLetterAndCreatesNestedFolders) {
  const std::string source = CopyDistFolder("dist");
  Wizard wizard(source + "Setup.exe");
  ASSERT_TRUE(wizard.Complete());
  ASSERT_TRUE(wizard.Turn(wizard.next, wizard.directory));
  Click(wizard.directory, 102);
  HWND chooser = wizard.program.WaitForWindow("#32770", "Directory", kTimeout);
  ASSERT_TRUE(chooser);
  EXPECT_EQ(AskedText(GetDlgItem(chooser, 302)), "C:\\Program Files\\Orvalen\\");
  // The desktop at the root, its folders listed below it; selecting a
  // folder proposes "Orvalen" inside it.
  HWND tree = GetDlgItem(chooser, 301);
  EXPECT_GT(SendMessageA(tree, TVM_GETCOUNT, 0, 0), 1);
  const LPARAM root = SendMessageA(tree, TVM_GETNEXTITEM, TVGN_ROOT, 0);
  ASSERT_NE(root, 0);
  SendMessageA(tree, TVM_SELECTITEM, TVGN_CARET, root);
  EXPECT_EQ(AskedText(GetDlgItem(chooser, 302)), ShellFolder("Desktop") + "\\Orvalen");

  SetWindowTextA(GetDlgItem(chooser, 302), "Saver\\Orvalen");
  Click(chooser, IDOK);
  MessageBoxSeen question = WaitForMessageBox(wizard.program, "Quillmark Organizer - Setup");
  ASSERT_TRUE(question.window);
  EXPECT_EQ(question.text, "This directory does not exists.\n\nDo you want to create it?");
  Click(question.window, IDYES);
  MessageBoxSeen refusal = WaitForMessageBox(wizard.program, "Orvalen");
  ASSERT_TRUE(refusal.window);
  EXPECT_EQ(refusal.text,
            "Can not create this directory:\nSaver\\Orvalen\nDirectory name should start "
            "with\nC:\\ \nD:\\ \netc.");
  Click(refusal.window, IDOK);
  Pause(300);
  EXPECT_TRUE(IsWindow(chooser));
  EXPECT_FALSE(FileExists("C:\\Saver"));

  // A drive that does not exist.
  ASSERT_EQ(GetDriveTypeA("Q:\\"), static_cast<UINT>(DRIVE_NO_ROOT_DIR));
  SetWindowTextA(GetDlgItem(chooser, 302), "Q:\\Saver\\Orvalen");
  Click(chooser, IDOK);
  question = WaitForMessageBox(wizard.program, "Quillmark Organizer - Setup");
  ASSERT_TRUE(question.window);
  Click(question.window, IDYES);
  refusal = WaitForMessageBox(wizard.program, "Orvalen Setup");
  ASSERT_TRUE(refusal.window);
  EXPECT_EQ(refusal.text, "Error creating new directory!");
  Click(refusal.window, IDOK);
  Pause(300);
  EXPECT_TRUE(IsWindow(chooser));

  SetWindowTextA(GetDlgItem(chooser, 302), "C:\\Saver\\Orvalen");
  Click(chooser, IDOK);
  question = WaitForMessageBox(wizard.program, "Quillmark Organizer - Setup");
  ASSERT_TRUE(question.window);
  Click(question.window, IDYES);
  EXPECT_TRUE(WaitUntil([&] { return !IsWindow(chooser); }));
  EXPECT_TRUE(FileExists("C:\\Saver\\Orvalen"));
  EXPECT_EQ(Text(GetDlgItem(wizard.directory, 101)), "C:\\Saver\\Orvalen\\");
}

TEST(WithoutInstalling, ClosingTheWindowAsksAndYesEndsWithoutInstalling) {
  const std::string source = CopyDistFolder("dist");
  Wizard wizard(source + "Setup.exe");
  ASSERT_TRUE(wizard.Complete());
  PostMessageA(wizard.main, WM_CLOSE, 0, 0);
  MessageBoxSeen box = WaitForMessageBox(wizard.program, "Orvalen Setup");
  ASSERT_TRUE(box.window);
  EXPECT_EQ(box.text, "Setup is not complete\nAre you sure you want to exit application?");
  EXPECT_EQ(box.defaultButton, IDNO);
  Click(box.window, IDYES);
  EXPECT_EQ(wizard.program.WaitForExit(kTimeout), 0);
  EXPECT_FALSE(FileExists(InstallFolder()));
  EXPECT_FALSE(MachineKeyExists(kUninstallKey));
}

TEST(WithoutInstalling, AnyLetterCaseOfRemoveAsksInsteadOfShowingTheWizard) {
  const std::string source = CopyDistFolder("dist");
  const std::string copy = source + "REMOVE.EXE";
  ASSERT_TRUE(CopyFileA((source + "Setup.exe").c_str(), copy.c_str(), FALSE));
  Program remove(copy);
  const MessageBoxSeen box = WaitForMessageBox(remove, "UnInstall");
  ASSERT_TRUE(box.window);
  HWND main = remove.WaitForWindow(kSetupWindowClass, nullptr, 0);
  ASSERT_TRUE(main);
  EXPECT_FALSE(FindControl(main, 1003));
  EXPECT_FALSE(FindControl(main, 102, "Button"));
  Click(box.window, IDNO);
  EXPECT_EQ(remove.WaitForExit(kTimeout), 0);
  EXPECT_TRUE(FileExists(copy));
  EXPECT_TRUE(FileExists(source + "Orvalen.exe"));
  EXPECT_FALSE(FileExists("C:\\DelUS.bat"));
}

}  // namespace
}  // namespace orvalen::setup::e2e
