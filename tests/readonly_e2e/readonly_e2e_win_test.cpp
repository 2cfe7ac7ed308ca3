// The programs installed into a folder the user can only read, as a standard
// user finds "C:\Program Files\Orvalen" on Windows with UAC: the settings, the
// slide-show profile and the calendar go into the user's application-data
// folder, and the saver, the configuration program, the calendar editor and
// the slide show all use those files. tools/wine-unprivileged runs this program as a Unix user who
// cannot write the installation folder; ORVALEN_READONLY_INSTALL names it.
#include <windows.h>
#include <commctrl.h>
#include <shlobj.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <string>
#include <vector>

#include "calendar/calendar_file.h"
#include "calendar/calendar_text.h"
#include "calendar/month_view.h"
#include "imaging/fit.h"
#include "resources/resource_ids.h"
#include "tests/e2e/program_win_helpers.h"
#include "tests/support/canvas_win.h"

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

// The first window below `dialog` that `match` takes (it stores the window
// in `search.found`), waiting for the dialog to make the page that holds it:
// the configuration dialog makes its pages one by one.
template <typename Search>
HWND WaitForChild(HWND dialog, WNDENUMPROC match, Search search) {
  const DWORD start = GetTickCount();
  do {
    search.found = nullptr;
    EnumChildWindows(dialog, match, reinterpret_cast<LPARAM>(&search));
    if (search.found) return search.found;
    WaitPumping(50);
  } while (GetTickCount() - start < kTimeout);
  return nullptr;
}

struct FoundWindow {
  HWND found;
};

BOOL CALLBACK MatchDelayEdit(HWND window, LPARAM data) {
  char className[32] = {};
  GetClassNameA(window, className, sizeof className);
  if (GetDlgCtrlID(window) != IDC_GENERAL_DELAY || lstrcmpiA(className, "Edit") != 0) return TRUE;
  if (!GetDlgItem(GetParent(window), IDC_GENERAL_RECYCLE)) return TRUE;
  reinterpret_cast<FoundWindow*>(data)->found = window;
  return FALSE;
}

// The delay edit of the general page: edit 105 beside the recycle edit 107.
HWND FindDelayEdit(HWND dialog) { return WaitForChild(dialog, &MatchDelayEdit, FoundWindow{nullptr}); }

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

// The first window below `dialog` with that control id.
HWND FindControl(HWND dialog, int id) { return WaitForChild(dialog, &MatchControl, ControlSearch{id, nullptr}); }

std::string WindowText(HWND window) {
  char text[512] = {};
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

// The day the editor and the saver meet on: a day of the sample calendar.
constexpr Date kEditedDay{2, 12, 2019};
constexpr char kEditedDayText[] = "2019-12-02";
// The sample profile's calendar text colour, 210,205,200.
constexpr COLORREF kCalendarText = RGB(210, 205, 200);
// The rows at the top of the saver's text panel that hold the day's heading
// ("Monday, December 2, 2019:"); the day's text starts below them.
constexpr int kHeadingRows = 20;

struct ButtonSearch {
  const char* caption;
  HWND found;
};

BOOL CALLBACK MatchButton(HWND window, LPARAM data) {
  auto* search = reinterpret_cast<ButtonSearch*>(data);
  char className[16] = {};
  char caption[64] = {};
  GetClassNameA(window, className, sizeof className);
  GetWindowTextA(window, caption, sizeof caption);
  if (lstrcmpiA(className, "Button") != 0 || lstrcmpA(caption, search->caption) != 0) return TRUE;
  search->found = window;
  return FALSE;
}

// The button below `dialog` with that caption.
HWND FindButton(HWND dialog, const char* caption) {
  return WaitForChild(dialog, &MatchButton, ButtonSearch{caption, nullptr});
}

// Selects the items of the dialog's page tree one after the other until
// `control` is on the page shown, as a user looks for a page.
bool ShowPageOf(HWND dialog, HWND control) {
  HWND tree = GetDlgItem(dialog, IDC_CONFIGURE_TREE);
  for (LPARAM item = SendMessageA(tree, TVM_GETNEXTITEM, TVGN_ROOT, 0); item;
       item = SendMessageA(tree, TVM_GETNEXTITEM, TVGN_NEXT, item)) {
    SendMessageA(tree, TVM_SELECTITEM, TVGN_CARET, item);
    if (IsWindowVisible(control)) return true;
  }
  return false;
}

// Waits up to kTimeout for `done`, answering this thread's messages.
template <typename Condition>
bool WaitFor(Condition done) {
  const DWORD start = GetTickCount();
  while (!done()) {
    if (GetTickCount() - start >= kTimeout) return false;
    WaitPumping(20);
  }
  return true;
}

// The editor's temporary files in the user's temp folder.
int EditorTempFiles() {
  char folder[MAX_PATH] = {};
  GetTempPathA(MAX_PATH, folder);
  WIN32_FIND_DATAA found;
  HANDLE search = FindFirstFileA((std::string(folder) + "ovc*").c_str(), &found);
  if (search == INVALID_HANDLE_VALUE) return 0;
  int count = 0;
  do ++count;
  while (FindNextFileA(search, &found));
  FindClose(search);
  return count;
}

// The saver's text panel, where the calendar day is written: left of the
// picture in the calendar band.
RECT TextPanel() {
  ImagePlacement placement;
  placement.hasImage = true;
  placement.imageWidth = placement.imageHeight = 2;
  placement.screenRect = Rect{0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
  placement.drawCalendar = true;
  Rect image, band, panel;
  ComputeImageRect(placement, image, band, panel);
  return RECT{panel.left, panel.top, panel.right, panel.bottom};
}

// The pixels of a screen rectangle, row by row, as 0x00RRGGBB.
std::vector<DWORD> Capture(const RECT& area) {
  const int width = area.right - area.left;
  const int height = area.bottom - area.top;
  test_support::Canvas canvas(width, height);
  HDC screen = GetDC(nullptr);
  BitBlt(canvas.Dc(), 0, 0, width, height, screen, area.left, area.top, SRCCOPY);
  ReleaseDC(nullptr, screen);
  std::vector<DWORD> pixels;
  pixels.reserve(static_cast<size_t>(width) * height);
  for (int y = 0; y < height; ++y) {
    for (int x = 0; x < width; ++x) pixels.push_back(canvas.At(x, y));
  }
  return pixels;
}

int TextPixels(const std::vector<DWORD>& pixels) {
  // Captured pixels are 0x00RRGGBB.
  const DWORD text = (GetRValue(kCalendarText) << 16) | (GetGValue(kCalendarText) << 8) |
                     GetBValue(kCalendarText);
  int count = 0;
  for (DWORD pixel : pixels) count += (pixel & 0xFFFFFF) == text;
  return count;
}

// The saver's text panel as the saver started on the edited day shows it
// with its first picture: once the picture is there and the panel holds
// text that stays as it is.
std::vector<DWORD> SaverPanelOnTheEditedDay() {
  SetEnvironmentVariableA("ORVALEN_TODAY", kEditedDayText);
  ChildProcess saver(Install() + "Orvalen.scr", "/s");
  SetEnvironmentVariableA("ORVALEN_TODAY", nullptr);
  HWND window = saver.WaitForWindow("ORVALEN_SAVER_CLASS", nullptr, kTimeout);
  EXPECT_NE(window, nullptr);
  if (!window) return {};
  const RECT panel = TextPanel();
  std::vector<DWORD> shown;
  const bool drawn = WaitFor([&] {
    if (PicturePixelsInTheMiddle() == 0) return false;
    std::vector<DWORD> now = Capture(panel);
    const bool steady = TextPixels(now) > 0 && now == shown;
    shown = std::move(now);
    return steady;
  });
  EXPECT_TRUE(drawn) << "no picture with the day's text on the screen";
  PostMessageA(window, WM_KEYDOWN, 'Q', 0);
  EXPECT_EQ(saver.WaitForExit(kTimeout), 0);
  return drawn ? shown : std::vector<DWORD>{};
}

// The cell of the editor's month view that shows `date`'s day, in the
// editor's client coordinates; the editor shows that month.
LPARAM CellCentre(HWND editor, const Date& date) {
  RECT client{};
  GetClientRect(editor, &client);
  MonthLayout layout;
  // The margin follows from the previous one; twice reaches the editor's.
  layout.Resize(client.right, client.bottom);
  layout.Resize(client.right, client.bottom);
  const Rect cell = layout.CellRect(BuildMonthGrid(date.month, date.year).CellOfDay(date.day));
  return MAKELPARAM(cell.left + cell.Width() / 2, cell.top + cell.Height() / 2);
}

// The test programs of this suite run in this order and build on each other:
// the first start fills the user's folder, OK saves into it, the saver, the
// calendar editor and the slide show read what was saved.
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

TEST_F(ReadOnlyInstall, CalendarEditorSavesIntoTheUsersCalendarAndTheSaverShowsTheDay) {
  const std::string userCalendar = UserFolder() + "Orvalen.cal";
  const std::string installedCalendar = ReadWholeFile(Install() + "Orvalen.cal");
  const std::string before = ReadWholeFile(userCalendar);
  const int tempFiles = EditorTempFiles();
  const std::vector<DWORD> panelBefore = SaverPanelOnTheEditedDay();
  ASSERT_FALSE(panelBefore.empty());

  ChildProcess configure(Install() + "Orvalen.exe", "");
  HWND dialog = configure.WaitForWindow("#32770", "Orvalen", kTimeout);
  ASSERT_NE(dialog, nullptr);
  HWND edit = FindButton(dialog, "Edit Calendar ...");
  ASSERT_NE(edit, nullptr);
  ASSERT_TRUE(ShowPageOf(dialog, edit));
  EXPECT_EQ(WindowText(GetDlgItem(GetParent(edit), IDC_CALENDAR_FILE)), userCalendar);
  PostMessageA(GetParent(edit), WM_COMMAND, MAKEWPARAM(IDC_CALENDAR_EDIT, BN_CLICKED),
               reinterpret_cast<LPARAM>(edit));

  // The editor's caption is the file it opened: the user's copy.
  HWND editor = configure.WaitForWindow("#32770", userCalendar.c_str(), kTimeout);
  ASSERT_NE(editor, nullptr);
  // Its working buffer lies in the temp folder.
  EXPECT_GT(EditorTempFiles(), tempFiles);
  // To December 2019 from whatever day of the calendar's years it starts on.
  for (int year = 0; year < kLastCalendarYear - kFirstCalendarYear; ++year) {
    PostMessageA(editor, WM_COMMAND, MAKEWPARAM(IDM_CALENDAR_NEXT_YEAR, BN_CLICKED), 0);
  }
  PostMessageA(editor, WM_COMMAND, MAKEWPARAM(IDM_CALENDAR_DECEMBER, BN_CLICKED), 0);
  HWND date = GetDlgItem(editor, IDC_CALENDAR_EDITOR_DATE);
  ASSERT_TRUE(WaitFor([&] {
    const std::string shown = WindowText(date);
    return shown.find("Dec ") == 0 && Contains(shown, ", 2019");
  })) << WindowText(date);
  const LPARAM cell = CellCentre(editor, kEditedDay);
  PostMessageA(editor, WM_LBUTTONDOWN, MK_LBUTTON, cell);
  PostMessageA(editor, WM_LBUTTONUP, 0, cell);
  HWND journal = GetDlgItem(editor, IDC_CALENDAR_EDITOR_JOURNAL);
  // The day opens in place with its own text, the sample's style sampler.
  ASSERT_TRUE(WaitFor([&] {
    return IsWindowVisible(journal) && WindowText(date) == DateButtonText(kEditedDay) &&
           WindowText(journal).find("Every style") == 0;
  })) << WindowText(date) << " " << WindowText(journal);
  const std::string typed = "Read-only bench";
  SendMessageA(journal, EM_SETSEL, 0, 0);
  for (char c : typed + "\r") PostMessageA(journal, WM_CHAR, static_cast<unsigned char>(c), 1);
  ASSERT_TRUE(WaitFor([&] { return WindowText(journal).find(typed + "\r") == 0; })) << WindowText(journal);
  // Save and close; a message about a file that cannot be written would
  // keep the editor open.
  PostMessageA(editor, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
  ASSERT_TRUE(WaitFor([&] { return !IsWindow(editor); }));
  EXPECT_EQ(EditorTempFiles(), tempFiles);
  EXPECT_EQ(WindowText(GetDlgItem(GetParent(edit), IDC_CALENDAR_FILE)), userCalendar);
  PostMessageA(dialog, WM_COMMAND, IDOK, 0);
  ASSERT_EQ(configure.WaitForExit(kTimeout), 0);

  EXPECT_NE(ReadWholeFile(userCalendar), before);
  EXPECT_EQ(ReadWholeFile(Install() + "Orvalen.cal"), installedCalendar);
  EXPECT_TRUE(Contains(ReadWholeFile(UserFolder() + "Orvalen.orv"), "CALENDAR_FILENAME=" + userCalendar));
  // The day as the saver reads it: the typed line first, the day's own after it.
  SaverCalendar calendar;
  ASSERT_TRUE(calendar.Open(userCalendar.c_str(), kEditedDay.year));
  std::string journalText, hours;
  ASSERT_TRUE(calendar.Lookup(DayOfYear(kEditedDay) - 1, journalText, hours));
  const std::vector<JournalLine> lines = ParseJournalLines(journalText);
  ASSERT_GE(lines.size(), 2u);
  EXPECT_EQ(lines[0].text, typed);
  EXPECT_EQ(lines[1].text, "Every style, colour by style:");
  calendar.Close();

  // The saver shows the same day, its heading at the top of the panel as
  // before, and the day's text below it changed.
  const std::vector<DWORD> panelAfter = SaverPanelOnTheEditedDay();
  ASSERT_EQ(panelAfter.size(), panelBefore.size());
  const RECT panel = TextPanel();
  const size_t heading = static_cast<size_t>(kHeadingRows) * (panel.right - panel.left);
  EXPECT_TRUE(std::equal(panelAfter.begin(), panelAfter.begin() + heading, panelBefore.begin()));
  EXPECT_FALSE(std::equal(panelAfter.begin() + heading, panelAfter.end(), panelBefore.begin() + heading));
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
