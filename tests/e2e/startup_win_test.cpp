// Start-up of Orvalen.exe and Orvalen.scr: the installation in win.ini, the
// default and active profiles, the configuration dialog and the run modes.
#include <windows.h>

#include <gtest/gtest.h>

#include "program_win_helpers.h"
#include "resources/resource_ids.h"

namespace orvalen::e2e {
namespace {

constexpr DWORD kTimeout = 15000;

// A visible top-level window of the test that becomes the foreground window.
class ForegroundWindow {
 public:
  ForegroundWindow() {
    window_ = CreateWindowExA(0, "STATIC", "test owner", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 10, 10, 200, 100,
                              nullptr, nullptr, GetModuleHandleA(nullptr), nullptr);
    SetForegroundWindow(window_);
    WaitPumping(50);
  }
  ~ForegroundWindow() { DestroyWindow(window_); }
  HWND Get() const { return window_; }

 private:
  HWND window_;
};

bool HasMinimizeBox(HWND window) { return (GetWindowLongA(window, GWL_STYLE) & WS_MINIMIZEBOX) != 0; }

std::string ProfileWith(const std::string& lines) { return "Orvalen\n[Settings]\n" + lines; }

// Runs the program until its saver window is up, then ends it with a key.
long RunSaverAndCloseWithKey(const std::string& program, const std::string& arguments) {
  ChildProcess child(program, arguments);
  HWND saver = child.WaitForWindow("ORVALEN_SAVER_CLASS", nullptr, kTimeout);
  if (!saver) return -3;
  WaitPumping(400);  // past the first paint
  PostMessageA(saver, WM_KEYDOWN, 'Q', 0);
  return child.WaitForExit(kTimeout);
}

TEST(Startup, ExeRewritesDirAndCreatesTheDefaultProfileAtEveryStart) {
  const std::string install = MakeInstallFolder("dir", {"Orvalen.exe"});
  SetWinIniDir("C:\\elsewhere\\");
  ChildProcess unknownSwitch(install + "Orvalen.exe", "/q");
  EXPECT_EQ(unknownSwitch.WaitForExit(kTimeout), 0);
  EXPECT_EQ(WinIniDir(), install);
  EXPECT_EQ(ReadWholeFile(install + "Orvalen.orv"), "Orvalen\n");

  // An existing default profile is left as it is; Dir is written again.
  WriteWholeFile(install + "Orvalen.orv", ProfileWith("VALUE_DELAY=9\n"));
  SetWinIniDir("C:\\elsewhere\\");
  ChildProcess again(install + "Orvalen.exe", "-X");
  EXPECT_EQ(again.WaitForExit(kTimeout), 0);
  EXPECT_EQ(WinIniDir(), install);
  EXPECT_EQ(ReadWholeFile(install + "Orvalen.orv"), ProfileWith("VALUE_DELAY=9\n"));
}

TEST(Startup, KeyProfileChoosesTheActiveProfile) {
  const std::string install = MakeInstallFolder("active", {"Orvalen.exe"});
  WriteWholeFile(install + "other.orv", "[Settings]\nTotal=0\n");
  WriteWholeFile(install + "Orvalen.orv", ProfileWith("KEY_PROFILE=" + install + "other.orv\n"));
  EXPECT_EQ(RunSaverAndCloseWithKey(install + "Orvalen.exe", "/s"), 0);
  EXPECT_NE(ReadWholeFile(install + "other.orv").find("LastImage=1"), std::string::npos);
  EXPECT_EQ(ReadWholeFile(install + "Orvalen.orv").find("LastImage"), std::string::npos);

  // A KEY_PROFILE naming a missing file falls back to the default profile.
  WriteWholeFile(install + "Orvalen.orv", ProfileWith("KEY_PROFILE=C:\\no\\such.orv\n"));
  EXPECT_EQ(RunSaverAndCloseWithKey(install + "Orvalen.exe", "/s"), 0);
  EXPECT_NE(ReadWholeFile(install + "Orvalen.orv").find("LastImage=1"), std::string::npos);
}

TEST(Startup, SlideShowReadsAndWritesOnlyItsOwnProfile) {
  const std::string install = MakeInstallFolder("slide", {"Orvalen.exe"});
  WriteWholeFile(install + "other.orv", "[Settings]\nTotal=0\n");
  WriteWholeFile(install + "Orvalen.orv", ProfileWith("KEY_PROFILE=" + install + "other.orv\n"));
  WriteWholeFile(install + "ovslide.dat", "[Settings]\nTotal=0\nLastImage=5\n");
  EXPECT_EQ(RunSaverAndCloseWithKey(install + "Orvalen.exe", "/x"), 0);
  EXPECT_NE(ReadWholeFile(install + "ovslide.dat").find("LastImage=1"), std::string::npos);
  EXPECT_EQ(ReadWholeFile(install + "other.orv").find("LastImage"), std::string::npos);
  EXPECT_EQ(ReadWholeFile(install + "Orvalen.orv").find("LastImage"), std::string::npos);
}

TEST(Startup, ScrFindsTheInstallationThroughWinIni) {
  const std::string install = MakeInstallFolder("scr_install", {"Orvalen.exe"});
  const std::string system = MakeInstallFolder("scr_system", {"Orvalen.scr"});
  WriteWholeFile(install + "Orvalen.orv", ProfileWith("Total=0\n"));
  SetWinIniDir(install);
  EXPECT_EQ(RunSaverAndCloseWithKey(system + "Orvalen.scr", "/s"), 0);
  EXPECT_NE(ReadWholeFile(install + "Orvalen.orv").find("LastImage=1"), std::string::npos);
  EXPECT_EQ(WinIniDir(), install);

  // Without a default profile in the Dir folder, profileFound stays false:
  // nothing is created and no LastImage is written.
  const std::string empty = MakeInstallFolder("scr_empty", {});
  SetWinIniDir(empty);
  EXPECT_EQ(RunSaverAndCloseWithKey(system + "Orvalen.scr", "/s"), 0);
  EXPECT_FALSE(FileExists(empty + "Orvalen.orv"));
  EXPECT_FALSE(FileExists(system + "Orvalen.orv"));

  // Without Dir at all the saver still runs, black, and ends on input.
  SetWinIniDir("");
  EXPECT_EQ(RunSaverAndCloseWithKey(system + "Orvalen.scr", "/s"), 0);
  EXPECT_FALSE(FileExists(system + "Orvalen.orv"));
}

TEST(Startup, ConfigureDialogTemplateFollowsTheOwner) {
  const std::string install = MakeInstallFolder("configure", {"Orvalen.exe"});
  struct Case {
    const char* arguments;
    bool owned;
  };
  for (const Case& c : {Case{"", false}, Case{"/z", false}, Case{"/c:0", false}, Case{"/c", true}}) {
    ForegroundWindow owner;
    ChildProcess child(install + "Orvalen.exe", c.arguments);
    HWND dialog = child.WaitForWindow("#32770", "Orvalen", kTimeout);
    ASSERT_NE(dialog, nullptr) << c.arguments;
    EXPECT_EQ(HasMinimizeBox(dialog), !c.owned) << c.arguments;
    EXPECT_EQ(GetWindow(dialog, GW_OWNER), c.owned ? owner.Get() : nullptr) << c.arguments;
    EXPECT_NE(GetWindowLongA(dialog, GWL_EXSTYLE) & WS_EX_ACCEPTFILES, 0) << c.arguments;
    PostMessageA(dialog, WM_COMMAND, IDCANCEL, 0);
    EXPECT_EQ(child.WaitForExit(kTimeout), 0) << c.arguments;
  }
}

TEST(Startup, ConfigureWithAWindowNumberOwnsTheDialogToIt) {
  const std::string install = MakeInstallFolder("configure_owner", {"Orvalen.exe"});
  ForegroundWindow owner;
  ChildProcess child(install + "Orvalen.exe",
                     "/c:" + std::to_string(reinterpret_cast<uintptr_t>(owner.Get())));
  HWND dialog = child.WaitForWindow("#32770", "Orvalen", kTimeout);
  ASSERT_NE(dialog, nullptr);
  EXPECT_FALSE(HasMinimizeBox(dialog));
  EXPECT_EQ(GetWindow(dialog, GW_OWNER), owner.Get());
  PostMessageA(dialog, WM_COMMAND, IDOK, 0);
  EXPECT_EQ(child.WaitForExit(kTimeout), 0);
}

HWND FindDialogOfOtherProcess(const char* caption, DWORD exceptProcess, DWORD timeoutMs) {
  const DWORD start = GetTickCount();
  do {
    HWND window = nullptr;
    while ((window = FindWindowExA(nullptr, window, "#32770", caption)) != nullptr) {
      DWORD process = 0;
      GetWindowThreadProcessId(window, &process);
      if (process != exceptProcess && process != GetCurrentProcessId()) return window;
    }
    WaitPumping(20);
  } while (GetTickCount() - start < timeoutMs);
  return nullptr;
}

TEST(Startup, ScrConfigureStartsTheConfigurationProgram) {
  const std::string install = MakeInstallFolder("scr_configure", {"Orvalen.exe"});
  const std::string system = MakeInstallFolder("scr_configure_sys", {"Orvalen.scr"});
  WriteWholeFile(install + "Orvalen.orv", "Orvalen\n");
  SetWinIniDir(install);
  ForegroundWindow owner;
  ChildProcess scr(system + "Orvalen.scr", "/c");
  EXPECT_EQ(scr.WaitForExit(kTimeout), 0);
  HWND dialog = FindDialogOfOtherProcess("Orvalen", scr.Id(), kTimeout);
  ASSERT_NE(dialog, nullptr);
  // Started as "Orvalen.exe /c": owned by the foreground window, template 2003.
  EXPECT_FALSE(HasMinimizeBox(dialog));
  DWORD exeProcess = 0;
  GetWindowThreadProcessId(dialog, &exeProcess);
  HANDLE exe = OpenProcess(SYNCHRONIZE | PROCESS_QUERY_INFORMATION, FALSE, exeProcess);
  PostMessageA(dialog, WM_COMMAND, IDCANCEL, 0);
  EXPECT_TRUE(WaitForHandlePumping(exe, kTimeout));
  CloseHandle(exe);
}

TEST(Startup, ScrConfigureWithoutTheConfigurationProgramShowsTheBox) {
  const std::string install = MakeInstallFolder("scr_noexe", {});
  const std::string system = MakeInstallFolder("scr_noexe_sys", {"Orvalen.scr"});
  WriteWholeFile(install + "Orvalen.orv", "Orvalen\n");
  SetWinIniDir(install);
  ChildProcess scr(system + "Orvalen.scr", "/c:0");
  HWND box = scr.WaitForWindow("#32770", "Setup", kTimeout);
  ASSERT_NE(box, nullptr);
  char text[512] = {};
  GetDlgItemTextA(box, 0xFFFF, text, sizeof text);
  EXPECT_STREQ(text,
               "Orvalen.scr can not find\nOrvalen.exe\n\nPlease find Orvalen.exe and run it.\n\n"
               "Or uninstall this program.\nUninstall will delete\nOrvalen.scr and Orvalenx.dll in\n"
               "c:\\windows\\system or c:\\windows\ndirectory.");
  EXPECT_EQ(GetDlgItem(box, IDCANCEL), nullptr);
  PostMessageA(box, WM_COMMAND, IDOK, 0);
  EXPECT_EQ(scr.WaitForExit(kTimeout), 0);
}

TEST(Startup, PreviewWithoutAParentWindowFailsToStart) {
  const std::string system = MakeInstallFolder("preview_fail", {"Orvalen.scr"});
  for (const char* arguments : {"/p", "/p:scrprev", "/p SCRPREV", "/l window"}) {
    ChildProcess child(system + "Orvalen.scr", arguments);
    EXPECT_EQ(child.WaitForExit(kTimeout), 3) << arguments;
  }
}

TEST(Startup, PreviewIsAChildOfTheGivenWindowAndEndsWithIt) {
  const std::string system = MakeInstallFolder("preview_child", {"Orvalen.scr"});
  HWND host = CreateWindowExA(0, "STATIC", "preview host", WS_POPUP | WS_VISIBLE, 50, 50, 152, 112, nullptr,
                              nullptr, GetModuleHandleA(nullptr), nullptr);
  ChildProcess child(system + "Orvalen.scr", "/p " + std::to_string(reinterpret_cast<uintptr_t>(host)));
  HWND saver = child.WaitForWindow("ORVALEN_SAVER_CLASS", "Orvalen Screen Saver - Saver Mode", kTimeout);
  ASSERT_NE(saver, nullptr);
  EXPECT_EQ(GetParent(saver), host);
  EXPECT_NE(GetWindowLongA(saver, GWL_STYLE) & WS_CHILD, 0);
  RECT client{};
  GetClientRect(saver, &client);
  EXPECT_EQ(client.right, 152);
  EXPECT_EQ(client.bottom, 112);
  // Mouse input does not end a preview.
  SendMessageA(saver, WM_LBUTTONDOWN, 0, 0);
  EXPECT_EQ(child.WaitForExit(300), -1);
  DestroyWindow(host);
  EXPECT_EQ(child.WaitForExit(kTimeout), 0);
}

TEST(Startup, SaverWindowCoversTheScreenAsATopMostPopup) {
  const std::string install = MakeInstallFolder("saver_window", {"Orvalen.exe"});
  ChildProcess child(install + "Orvalen.exe", "/s");
  HWND saver = child.WaitForWindow("ORVALEN_SAVER_CLASS", "Orvalen Screen Saver - Saver Mode", kTimeout);
  ASSERT_NE(saver, nullptr);
  WaitPumping(500);  // the window is placed by its set-up, right after it exists
  RECT r{};
  GetWindowRect(saver, &r);
  EXPECT_EQ(r.left, 0);
  EXPECT_EQ(r.top, 0);
  EXPECT_EQ(r.right, GetSystemMetrics(SM_CXSCREEN));
  EXPECT_EQ(r.bottom, GetSystemMetrics(SM_CYSCREEN));
  const LONG style = GetWindowLongA(saver, GWL_STYLE);
  EXPECT_NE(style & WS_POPUP, 0);
  EXPECT_NE(GetWindowLongA(saver, GWL_EXSTYLE) & WS_EX_TOPMOST, 0);
  PostMessageA(saver, WM_LBUTTONDOWN, 0, 0);
  EXPECT_EQ(child.WaitForExit(kTimeout), 0);
}

}  // namespace
}  // namespace orvalen::e2e
