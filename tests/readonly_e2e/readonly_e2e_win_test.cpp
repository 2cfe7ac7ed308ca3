// The programs installed into a folder the user can only read, as a standard
// user finds "C:\Program Files\Orvalen" on Windows with UAC: the settings, the
// slide-show profile and the calendar go into the user's application-data
// folder, and the saver, the configuration program and the slide show all use
// those files. tools/wine-unprivileged runs this program as a Unix user who
// cannot write the installation folder; ORVALEN_READONLY_INSTALL names it.
#include <windows.h>
#include <shlobj.h>

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

#include "resources/resource_ids.h"
#include "tests/e2e/program_win_helpers.h"

namespace orvalen::e2e {
namespace {

constexpr DWORD kTimeout = 15000;
// The sample profile's background colour, 64,0,0.
constexpr COLORREF kBackground = RGB(64, 0, 0);

std::string Install() {
  const char* folder = std::getenv("ORVALEN_READONLY_INSTALL");
  std::string path = folder ? folder : "";
  if (!path.empty() && path.back() != '\\') path += '\\';
  return path;
}

std::string UserFolder() {
  char path[MAX_PATH] = {};
  SHGetSpecialFolderPathA(nullptr, path, CSIDL_APPDATA, FALSE);
  return std::string(path) + "\\Orvalen\\";
}

bool Contains(const std::string& text, const std::string& part) { return text.find(part) != std::string::npos; }

BOOL CALLBACK MatchDelayEdit(HWND window, LPARAM data) {
  char className[32] = {};
  GetClassNameA(window, className, sizeof className);
  if (GetDlgCtrlID(window) != IDC_GENERAL_DELAY || lstrcmpiA(className, "Edit") != 0) return TRUE;
  if (!GetDlgItem(GetParent(window), IDC_GENERAL_RECYCLE)) return TRUE;
  *reinterpret_cast<HWND*>(data) = window;
  return FALSE;
}

// The delay edit of the general page: edit 105 beside the recycle edit 107,
// waiting for the dialog to make its pages.
HWND FindDelayEdit(HWND dialog) {
  HWND found = nullptr;
  const DWORD start = GetTickCount();
  do {
    EnumChildWindows(dialog, &MatchDelayEdit, reinterpret_cast<LPARAM>(&found));
    if (found) return found;
    WaitPumping(50);
  } while (GetTickCount() - start < kTimeout);
  return nullptr;
}

struct ControlSearch {
  int id;
  HWND found;
};

BOOL CALLBACK MatchControl(HWND window, LPARAM data) {
  auto* search = reinterpret_cast<ControlSearch*>(data);
  if (GetDlgCtrlID(window) != search->id) return TRUE;
  search->found = window;
  return FALSE;
}

// The first window below `dialog` with that control id, waiting for the
// dialog to make the page that holds it (the pages come one by one).
HWND FindControl(HWND dialog, int id) {
  const DWORD start = GetTickCount();
  do {
    ControlSearch search{id, nullptr};
    EnumChildWindows(dialog, &MatchControl, reinterpret_cast<LPARAM>(&search));
    if (search.found) return search.found;
    WaitPumping(50);
  } while (GetTickCount() - start < kTimeout);
  return nullptr;
}

std::string WindowText(HWND window) {
  char text[64] = {};
  SendMessageA(window, WM_GETTEXT, sizeof text, reinterpret_cast<LPARAM>(text));
  return text;
}

// Pixels of the middle of the screen that differ from the background: a
// picture is shown there.
int PicturePixelsInTheMiddle() {
  HDC screen = GetDC(nullptr);
  const int cx = GetSystemMetrics(SM_CXSCREEN) / 2;
  const int cy = GetSystemMetrics(SM_CYSCREEN) / 2;
  int differing = 0;
  for (int y = cy - 20; y < cy + 20; y += 4) {
    for (int x = cx - 20; x < cx + 20; x += 4) {
      const COLORREF pixel = GetPixel(screen, x, y);
      if (pixel != CLR_INVALID && pixel != kBackground && pixel != RGB(0, 0, 0)) ++differing;
    }
  }
  ReleaseDC(nullptr, screen);
  return differing;
}

// A saver window of any process but `exceptProcess`, waiting up to `timeoutMs`.
HWND WaitForSaverOfOtherProcess(DWORD exceptProcess, DWORD timeoutMs) {
  const DWORD start = GetTickCount();
  do {
    HWND window = nullptr;
    while ((window = FindWindowExA(nullptr, window, "ORVALEN_SAVER_CLASS", nullptr)) != nullptr) {
      DWORD process = 0;
      GetWindowThreadProcessId(window, &process);
      if (process != exceptProcess) return window;
    }
    WaitPumping(50);
  } while (GetTickCount() - start < timeoutMs);
  return nullptr;
}

// The test programs of this suite run in this order and build on each other:
// the first start fills the user's folder, OK saves into it, the saver and
// the slide show read what was saved.
class ReadOnlyInstall : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_FALSE(Install().empty()) << "ORVALEN_READONLY_INSTALL is not set"; }
};

TEST_F(ReadOnlyInstall, TheInstallationFolderCannotBeWritten) {
  const std::string probe = Install() + "probe.tmp";
  HANDLE file = CreateFileA(probe.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, 0, nullptr);
  const DWORD error = GetLastError();
  if (file != INVALID_HANDLE_VALUE) {
    CloseHandle(file);
    DeleteFileA(probe.c_str());
  }
  ASSERT_EQ(file, INVALID_HANDLE_VALUE) << "the bench lets this user write " << Install();
  EXPECT_EQ(error, static_cast<DWORD>(ERROR_ACCESS_DENIED));
  EXPECT_TRUE(FileExists(Install() + "Orvalen.orv"));
  EXPECT_FALSE(FileExists(UserFolder() + "Orvalen.orv"));
}

TEST_F(ReadOnlyInstall, OkSavesIntoTheUsersFolderAndTheNextStartShowsIt) {
  const std::string installedProfile = ReadWholeFile(Install() + "Orvalen.orv");
  {
    ChildProcess configure(Install() + "Orvalen.exe", "");
    HWND dialog = configure.WaitForWindow("#32770", "Orvalen", kTimeout);
    ASSERT_NE(dialog, nullptr);
    // The first start filled the user's folder from the installation.
    EXPECT_TRUE(Contains(ReadWholeFile(UserFolder() + "Orvalen.orv"), "i0=vdelete1.jpg"));
    EXPECT_EQ(ReadWholeFile(UserFolder() + "Orvalen.cal"), ReadWholeFile(Install() + "Orvalen.cal"));
    HWND delay = FindDelayEdit(dialog);
    ASSERT_NE(delay, nullptr);
    EXPECT_EQ(WindowText(delay), "4");
    SendMessageA(delay, WM_SETTEXT, 0, reinterpret_cast<LPARAM>("7"));
    PostMessageA(dialog, WM_COMMAND, IDOK, 0);
    // A message box about a profile that cannot be written would keep it open.
    ASSERT_EQ(configure.WaitForExit(kTimeout), 0);
  }
  const std::string saved = ReadWholeFile(UserFolder() + "Orvalen.orv");
  EXPECT_TRUE(Contains(saved, "VALUE_DELAY=7"));
  EXPECT_TRUE(Contains(saved, "KEY_PROFILE=" + UserFolder() + "Orvalen.orv"));
  EXPECT_TRUE(Contains(saved, "CALENDAR_FILENAME=" + UserFolder() + "Orvalen.cal"));
  EXPECT_EQ(ReadWholeFile(Install() + "Orvalen.orv"), installedProfile);

  ChildProcess again(Install() + "Orvalen.exe", "");
  HWND dialog = again.WaitForWindow("#32770", "Orvalen", kTimeout);
  ASSERT_NE(dialog, nullptr);
  HWND delay = FindDelayEdit(dialog);
  ASSERT_NE(delay, nullptr);
  EXPECT_EQ(WindowText(delay), "7");
  PostMessageA(dialog, WM_COMMAND, IDCANCEL, 0);
  EXPECT_EQ(again.WaitForExit(kTimeout), 0);
}

TEST_F(ReadOnlyInstall, SaverModuleShowsTheSavedListAndAdvancesLastImage) {
  // Where Setup puts the module, found through win.ini as Windows starts it.
  char systemDir[MAX_PATH] = {};
  GetSystemDirectoryA(systemDir, MAX_PATH);
  const std::string system = std::string(systemDir) + "\\";
  ASSERT_TRUE(CopyFileA((Install() + "Orvalen.scr").c_str(), (system + "Orvalen.scr").c_str(), FALSE));
  ASSERT_TRUE(CopyFileA((Install() + "Orvalenx.dll").c_str(), (system + "Orvalenx.dll").c_str(), FALSE));
  EXPECT_EQ(WinIniDir(), Install());
  // A day of the sample calendar: the saver opens the user's copy for it.
  SetEnvironmentVariableA("ORVALEN_TODAY", "2019-12-02");

  ChildProcess saver(system + "Orvalen.scr", "/s");
  HWND window = saver.WaitForWindow("ORVALEN_SAVER_CLASS", nullptr, kTimeout);
  ASSERT_NE(window, nullptr);
  WaitPumping(1500);
  EXPECT_GT(PicturePixelsInTheMiddle(), 0);
  PostMessageA(window, WM_KEYDOWN, 'Q', 0);
  EXPECT_EQ(saver.WaitForExit(kTimeout), 0);
  SetEnvironmentVariableA("ORVALEN_TODAY", nullptr);

  const std::string profile = ReadWholeFile(UserFolder() + "Orvalen.orv");
  EXPECT_TRUE(Contains(profile, "LastImage=1"));
  // A calendar the saver cannot open would be written back as empty.
  EXPECT_TRUE(Contains(profile, "CALENDAR_FILENAME=" + UserFolder() + "Orvalen.cal"));
  EXPECT_FALSE(Contains(ReadWholeFile(Install() + "Orvalen.orv"), "LastImage=1"));
}

TEST_F(ReadOnlyInstall, SlideShowRunsOnTheListOnScreen) {
  ChildProcess configure(Install() + "Orvalen.exe", "");
  HWND dialog = configure.WaitForWindow("#32770", "Orvalen", kTimeout);
  ASSERT_NE(dialog, nullptr);
  HWND delay = FindDelayEdit(dialog);
  ASSERT_NE(delay, nullptr);
  SendMessageA(delay, WM_SETTEXT, 0, reinterpret_cast<LPARAM>("12"));
  PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(106, BN_CLICKED), 0);

  HWND saver = WaitForSaverOfOtherProcess(configure.Id(), kTimeout);
  ASSERT_NE(saver, nullptr);
  WaitPumping(1500);
  EXPECT_GT(PicturePixelsInTheMiddle(), 0);
  const std::string slide = ReadWholeFile(UserFolder() + "ovslide.dat");
  EXPECT_TRUE(Contains(slide, "VALUE_DELAY=12"));
  EXPECT_TRUE(Contains(slide, "vdelete1.jpg"));
  EXPECT_TRUE(Contains(slide, "Total=4"));
  EXPECT_FALSE(FileExists(Install() + "ovslide.dat"));
  PostMessageA(saver, WM_LBUTTONDOWN, 0, 0);
  WaitPumping(500);
  EXPECT_FALSE(IsWindow(saver));
  // The show wrote its LastImage into its own profile.
  EXPECT_TRUE(Contains(ReadWholeFile(UserFolder() + "ovslide.dat"), "LastImage=1"));

  PostMessageA(dialog, WM_COMMAND, IDCANCEL, 0);
  EXPECT_EQ(configure.WaitForExit(kTimeout), 0);
  // Cancel saved nothing: the active profile keeps the delay of the OK before.
  EXPECT_TRUE(Contains(ReadWholeFile(UserFolder() + "Orvalen.orv"), "VALUE_DELAY=7"));
}

TEST_F(ReadOnlyInstall, NewProfileIsMadeInTheUsersFolderAndOkMakesItActive) {
  ChildProcess configure(Install() + "Orvalen.exe", "");
  HWND dialog = configure.WaitForWindow("#32770", "Orvalen", kTimeout);
  ASSERT_NE(dialog, nullptr);
  ASSERT_NE(FindDelayEdit(dialog), nullptr);  // the pages are made
  HWND newButton = FindControl(dialog, IDC_PROFILES_NEW);
  ASSERT_NE(newButton, nullptr);
  PostMessageA(GetParent(newButton), WM_COMMAND, MAKEWPARAM(IDC_PROFILES_NEW, BN_CLICKED),
               reinterpret_cast<LPARAM>(newButton));
  // The file dialog starts in the folder of the settings files: a bare name
  // lands there.
  HWND fileDialog = configure.WaitForWindow("#32770", "New File", kTimeout);
  ASSERT_NE(fileDialog, nullptr);
  HWND name = nullptr;
  const DWORD start = GetTickCount();
  while (!(name = GetDlgItem(fileDialog, 0x47C)) && GetTickCount() - start < kTimeout) WaitPumping(50);
  ASSERT_NE(name, nullptr);
  SendMessageA(name, WM_SETTEXT, 0, reinterpret_cast<LPARAM>("mine"));
  PostMessageA(fileDialog, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);

  const std::string created = UserFolder() + "mine.orv";
  HWND current = FindControl(GetParent(newButton), IDC_PROFILES_CURRENT);
  ASSERT_NE(current, nullptr);
  const DWORD shown = GetTickCount();
  while (WindowText(current) != created && GetTickCount() - shown < kTimeout) WaitPumping(50);
  EXPECT_EQ(WindowText(current), created);
  PostMessageA(dialog, WM_COMMAND, IDOK, 0);
  ASSERT_EQ(configure.WaitForExit(kTimeout), 0);

  EXPECT_TRUE(Contains(ReadWholeFile(created), "KEY_SIGNATURE=1"));
  EXPECT_TRUE(Contains(ReadWholeFile(UserFolder() + "Orvalen.orv"), "KEY_PROFILE=" + created));
  EXPECT_FALSE(FileExists(Install() + "mine.orv"));
}

}  // namespace
}  // namespace orvalen::e2e
