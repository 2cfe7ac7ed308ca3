// The configuration dialog in the test process: pages, OK and Cancel, the
// option pages' rules, driven with messages as a user's clicks send them.
#include "config/configure_dialog_win.h"

#include <gtest/gtest.h>

#include <commctrl.h>
#include <shellapi.h>

#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <string>
#include <thread>

#include "calendar/sample_calendar.h"
#include "config/command_ids.h"
#include "config/option_pages_win.h"
#include "resources/resource_ids.h"
#include "saver/process_state.h"
#include "saver/settings.h"
#include "tests/config/config_files_win_helpers.h"
#include "tests/support/import_patch_win.h"
#include "winapp/private_profile.h"
#include "winapp/dpi_win.h"

namespace orvalen {
namespace {

using config_test::GreyBitmap;
using config_test::WriteFile;

std::string ReadKey(const std::string& path, const char* section, const char* key) {
  char value[1024];
  GetPrivateProfileStringA(section, key, "<missing>", value, sizeof value, path.c_str());
  return value;
}

void Pump() {
  MSG message;
  while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
    TranslateMessage(&message);
    DispatchMessageA(&message);
  }
}

// Answers the next dialog of this process with the caption `caption` from a
// thread of its own, as a user would: a file dialog gets `fileName` typed
// into its name box and OK; a message box gets its text read and `button`
// pressed.
class DialogAnswerer {
 public:
  DialogAnswerer(std::string caption, std::string fileName, int button = IDOK)
      : caption_(std::move(caption)), fileName_(std::move(fileName)), button_(button) {
    thread_ = std::thread([this] { Run(); });
  }
  ~DialogAnswerer() { Finish(); }
  // The message box text seen, empty when no such dialog came.
  std::string Seen() {
    Finish();
    return seen_;
  }

 private:
  struct Search {
    const std::string* caption;
    int item;  // the control that tells the kind: message text or file name
    HWND found = nullptr;
  };
  static BOOL CALLBACK Match(HWND window, LPARAM data) {
    auto* search = reinterpret_cast<Search*>(data);
    DWORD process = 0;
    GetWindowThreadProcessId(window, &process);
    char name[16] = {};
    char caption[128] = {};
    GetClassNameA(window, name, sizeof name);
    GetWindowTextA(window, caption, sizeof caption);
    if (process == GetCurrentProcessId() && IsWindowVisible(window) &&
        std::string(name) == "#32770" && *search->caption == caption &&
        GetDlgItem(window, search->item)) {
      search->found = window;
      return FALSE;
    }
    return TRUE;
  }
  // Stops the search and waits for it while answering the messages its
  // window reads send to this thread's windows (a caption read of a window
  // of another thread is a sent message).
  void Finish() {
    stop_ = true;
    while (!done_) {
      MSG message;
      PeekMessageA(&message, nullptr, 0, 0, PM_NOREMOVE);
      std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    if (thread_.joinable()) thread_.join();
  }
  void Run() {
    RunSearch();
    done_ = true;
  }
  void RunSearch() {
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
    while (!stop_ || std::chrono::steady_clock::now() < deadline) {
      Search search{&caption_, fileName_.empty() ? 0xFFFF : 0x47C};
      EnumWindows(&Match, reinterpret_cast<LPARAM>(&search));
      if (search.found) {
        if (HWND text = GetDlgItem(search.found, 0xFFFF)) {
          char buffer[512] = {};
          GetWindowTextA(text, buffer, sizeof buffer);
          seen_ = buffer;
        } else if (HWND name = GetDlgItem(search.found, 0x47C)) {
          SendMessageA(name, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(fileName_.c_str()));
        }
        PostMessageA(search.found, WM_COMMAND, MAKEWPARAM(button_, BN_CLICKED), 0);
        return;
      }
      if (stop_ && std::chrono::steady_clock::now() > deadline) return;
      std::this_thread::sleep_for(std::chrono::milliseconds(20));
      if (stop_) return;
    }
  }

  std::string caption_;
  std::string fileName_;
  int button_;
  std::string seen_;
  std::atomic<bool> stop_{false};
  std::atomic<bool> done_{false};
  std::thread thread_;
};

class ConfigureDialogTest : public ::testing::Test {
 protected:
  void SetUp() override {
    folder_ = config_test::TempFolder("orvalen_config_test");
    StartupState& startup = Startup();
    startup.programDir = folder_;
    startup.dataDir = folder_;
    startup.defaultProfilePath = folder_ + "Orvalen.orv";
    startup.slideProfilePath = folder_ + "ovslide.dat";
    startup.activeProfilePath = startup.defaultProfilePath;
    startup.profileFound = true;
    Settings() = SaverSettings{};
    DeleteFileA(startup.slideProfilePath.c_str());
    WriteProfile(startup.defaultProfilePath, "");
  }

  void TearDown() override { dialog_.reset(); }

  static void WriteProfile(const std::string& path, const std::string& settingsLines) {
    WriteFile(path, "Orvalen\r\n[Settings]\r\n" + settingsLines);
  }

  void Open() {
    dialog_ = std::make_unique<TSC_Configure>(false);
    ASSERT_NE(dialog_->CreateModeless(nullptr), nullptr);
    ShowWindow(Dialog(), SW_SHOWNOACTIVATE);
    Pump();
  }

  HWND Dialog() const { return dialog_->Handle(); }
  HWND Tree() const { return GetDlgItem(Dialog(), IDC_CONFIGURE_TREE); }

  std::vector<std::string> TreeTexts() const {
    std::vector<std::string> texts;
    for (LPARAM item = SendMessageA(Tree(), TVM_GETNEXTITEM, TVGN_ROOT, 0); item;
         item = SendMessageA(Tree(), TVM_GETNEXTITEM, TVGN_NEXT, item)) {
      char text[64] = {};
      TVITEMA info{};
      info.mask = TVIF_TEXT | TVIF_IMAGE;
      info.hItem = reinterpret_cast<HTREEITEM>(item);
      info.pszText = text;
      info.cchTextMax = sizeof text;
      SendMessageA(Tree(), TVM_GETITEMA, 0, reinterpret_cast<LPARAM>(&info));
      texts.push_back(std::string(text) + "#" + std::to_string(info.iImage));
    }
    return texts;
  }

  void SelectPage(const std::string& text) {
    for (LPARAM item = SendMessageA(Tree(), TVM_GETNEXTITEM, TVGN_ROOT, 0); item;
         item = SendMessageA(Tree(), TVM_GETNEXTITEM, TVGN_NEXT, item)) {
      char buffer[64] = {};
      TVITEMA info{};
      info.mask = TVIF_TEXT;
      info.hItem = reinterpret_cast<HTREEITEM>(item);
      info.pszText = buffer;
      info.cchTextMax = sizeof buffer;
      SendMessageA(Tree(), TVM_GETITEMA, 0, reinterpret_cast<LPARAM>(&info));
      if (text == buffer) {
        SendMessageA(Tree(), TVM_SELECTITEM, TVGN_CARET, item);
        return;
      }
    }
    FAIL() << "no tree item " << text;
  }

  // The page windows (child dialogs) in creation order, and the visible ones.
  std::vector<HWND> Pages() const {
    std::vector<HWND> pages;
    for (HWND child = GetWindow(Dialog(), GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
      char name[16] = {};
      GetClassNameA(child, name, sizeof name);
      if (std::string(name) == "#32770") pages.push_back(child);
    }
    return pages;
  }
  HWND VisiblePage() const {
    HWND shown = nullptr;
    int count = 0;
    for (HWND page : Pages()) {
      if (IsWindowVisible(page)) {
        shown = page;
        ++count;
      }
    }
    return count == 1 ? shown : nullptr;
  }
  HWND PageItem(const std::string& page, int id) {
    SelectPage(page);
    return GetDlgItem(VisiblePage(), id);
  }

  static std::string Text(HWND window) {
    char text[1024] = {};
    GetWindowTextA(window, text, sizeof text);
    return text;
  }
  static void Click(HWND button) {
    SendMessageA(GetParent(button), WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(button), BN_CLICKED),
                 reinterpret_cast<LPARAM>(button));
  }
  static void Check(HWND button, bool checked) {
    SendMessageA(button, BM_SETCHECK, checked ? BST_CHECKED : BST_UNCHECKED, 0);
  }
  static bool Checked(HWND button) {
    return SendMessageA(button, BM_GETCHECK, 0, 0) == BST_CHECKED;
  }
  // Moves a slider the way a drag does: position, then the notification.
  static void Slide(HWND slider, int position) {
    SendMessageA(slider, TBM_SETPOS, TRUE, position);
    SendMessageA(GetParent(slider), WM_HSCROLL, MAKEWPARAM(TB_THUMBTRACK, position),
                 reinterpret_cast<LPARAM>(slider));
  }

  void PressOk() {
    SendMessageA(Dialog(), WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
    Pump();
  }

  std::string Active() const { return Startup().activeProfilePath; }

  std::string folder_;
  std::unique_ptr<TSC_Configure> dialog_;
};

// Fonts made by pixel height grow with the display's DPI as the templates
// do: 12 pixels at 96 DPI, 18 at 144 (the run with ORVALEN_LOGPIXELS=144).
TEST_F(ConfigureDialogTest, PageFontsFollowTheDisplayDpi) {
  Open();
  const int dpi = ScreenDpi();
  if (const char* wanted = std::getenv("ORVALEN_LOGPIXELS")) {
    EXPECT_EQ(dpi, std::atoi(wanted));
  }
  HWND dayName = PageItem("Default Text", IDC_DEFAULT_TEXT_DAY_NAME);
  LOGFONTA font{};
  ASSERT_TRUE(GetObjectA(reinterpret_cast<HFONT>(SendMessageA(dayName, WM_GETFONT, 0, 0)), sizeof font, &font));
  EXPECT_EQ(font.lfHeight, ScaleForDpi(12, dpi));
  // The page's template is 250 dialog units wide; its pixels follow the
  // dialog font, which follows the DPI.
  RECT page{};
  GetWindowRect(VisiblePage(), &page);
  RECT units{0, 0, 250, 0};
  MapDialogRect(VisiblePage(), &units);
  EXPECT_EQ(page.right - page.left, units.right);
  if (dpi > kBaseDpi) {
    EXPECT_GT(units.right, 250 * 6 / 4);
  }
}

TEST_F(ConfigureDialogTest, TreeListsNinePagesAndShowsOneWithItsHeading) {
  Open();
  EXPECT_EQ(TreeTexts(), (std::vector<std::string>{"Images#0", "Options#1", "Effects#2",
                                                   "Background#3", "Calendar#4",
                                                   "Default Text#5", "Password#6",
                                                   "Profiles#7", "About#8"}));
  ASSERT_EQ(Pages().size(), 9u);
  EXPECT_NE(VisiblePage(), nullptr);
  EXPECT_EQ(Text(GetDlgItem(Dialog(), IDC_CONFIGURE_HEADING)), " Select images");

  SelectPage("About");
  ASSERT_NE(VisiblePage(), nullptr);
  EXPECT_NE(GetDlgItem(VisiblePage(), IDC_ABOUT_WEB_LINK), nullptr);
  EXPECT_EQ(Text(GetDlgItem(VisiblePage(), IDC_ABOUT_VERSION)), "Version 1.022b");
  EXPECT_EQ(Text(GetDlgItem(Dialog(), IDC_CONFIGURE_HEADING)), " About Orvalen Screen Saver");

  // Page placed on the page area, the same size.
  RECT page{};
  GetWindowRect(VisiblePage(), &page);
  RECT expected{91, 16, 91 + 250, 16 + 185};
  MapDialogRect(Dialog(), &expected);
  EXPECT_EQ(page.right - page.left, expected.right - expected.left);
  EXPECT_EQ(page.bottom - page.top, expected.bottom - expected.top);
}

TEST_F(ConfigureDialogTest, OkWritesWhatTheSaverReadsBackThenSignatureAndProfile) {
  WriteProfile(Active(), "VALUE_BRIGHT=100\r\nVALUE_GAMMA=120\r\nSHOW_TIME=1\r\n");
  Open();
  EXPECT_TRUE(Checked(PageItem("Password", IDC_PASSWORD_ALLOW_CTRL_ALT_DEL)));
  // Typed text is taken as typed: the arrows' bounds do not apply.
  SetWindowTextA(PageItem("Options", IDC_GENERAL_DELAY), "500");
  Check(PageItem("Calendar", IDC_CALENDAR_TIME), false);
  Slide(PageItem("Effects", IDC_EFFECTS_BRIGHTNESS), 20);
  EXPECT_EQ(Text(GetDlgItem(VisiblePage(), IDC_EFFECTS_BRIGHTNESS_TEXT)), "Darker: -30%");
  Check(GetDlgItem(VisiblePage(), IDC_EFFECTS_BLEND), true);
  Check(GetDlgItem(VisiblePage(), IDC_EFFECTS_SIMPLE_ERASE), false);
  Check(PageItem("Password", IDC_PASSWORD_ALLOW_CTRL_ALT_DEL), false);
  Check(PageItem("Password", IDC_PASSWORD_DENY_CTRL_ALT_DEL), true);
  PressOk();
  EXPECT_FALSE(IsWindow(dialog_->Handle()));

  SaverSettings read;
  PrivateProfile profile(Active());
  ReadSettings(profile, read);
  EXPECT_EQ(read.delaySeconds, 500);
  EXPECT_FALSE(read.showTime);
  EXPECT_EQ(read.brightness, -30);
  EXPECT_EQ(read.gamma, 120);
  EXPECT_EQ(read.transition, 1);
  EXPECT_FALSE(read.allowCtrlAltDel);
  EXPECT_EQ(ReadKey(Active(), "Settings", "OPTION_EFFECTS"), "0");
  EXPECT_EQ(ReadKey(Active(), "Settings", "Total"), "0");
  EXPECT_EQ(ReadKey(Active(), "Files", "i0"), "<END>");
  EXPECT_EQ(ReadKey(Active(), "Settings", "KEY_SIGNATURE"), "1");
  EXPECT_EQ(ReadKey(Startup().defaultProfilePath, "Settings", "KEY_PROFILE"), Active());
}

TEST_F(ConfigureDialogTest, CancelWritesNeitherSignatureNorProfile) {
  Open();
  SetWindowTextA(PageItem("Options", IDC_GENERAL_DELAY), "9");
  SendMessageA(Dialog(), WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), 0);
  Pump();
  EXPECT_EQ(ReadKey(Active(), "Settings", "VALUE_DELAY"), "<missing>");
  EXPECT_EQ(ReadKey(Active(), "Settings", "KEY_SIGNATURE"), "<missing>");
  EXPECT_EQ(ReadKey(Active(), "Settings", "KEY_PROFILE"), "<missing>");
}

TEST_F(ConfigureDialogTest, SlidersLoadOutOfRangeValuesAsNeutralAndLabelTheirValue) {
  WriteProfile(Active(), "VALUE_BRIGHT=100\r\nVALUE_GAMMA=120\r\n");
  Open();
  HWND brightness = PageItem("Effects", IDC_EFFECTS_BRIGHTNESS);
  HWND gamma = GetDlgItem(VisiblePage(), IDC_EFFECTS_GAMMA);
  EXPECT_EQ(SendMessageA(brightness, TBM_GETPOS, 0, 0), 50);
  EXPECT_EQ(SendMessageA(gamma, TBM_GETPOS, 0, 0), 120);
  EXPECT_EQ(Text(GetDlgItem(VisiblePage(), IDC_EFFECTS_GAMMA_TEXT)), "Increase 50%");
  Slide(gamma, 117);  // snaps to the tick
  EXPECT_EQ(SendMessageA(gamma, TBM_GETPOS, 0, 0), 120);
  EXPECT_EQ(Text(GetDlgItem(VisiblePage(), IDC_EFFECTS_GAMMA_TEXT)), "Lighter: 1.20 !!!");
  Slide(gamma, 80);
  EXPECT_EQ(Text(GetDlgItem(VisiblePage(), IDC_EFFECTS_GAMMA_TEXT)), "Darker: 0.80");
  PressOk();
  EXPECT_EQ(ReadKey(Active(), "Settings", "VALUE_BRIGHT"), "0");
  EXPECT_EQ(ReadKey(Active(), "Settings", "VALUE_GAMMA"), "80");
}

TEST_F(ConfigureDialogTest, ReloadFromAnotherProfileSetsEveryBoxBothWays) {
  Open();
  HWND time = PageItem("Calendar", IDC_CALENDAR_TIME);
  EXPECT_TRUE(Checked(time));
  const std::string other = folder_ + "other.orv";
  WriteProfile(other, "SHOW_TIME=0\r\nDRAW_CALENDAR=1\r\nOPTION_DISPLAY=4\r\n");
  Startup().activeProfilePath = other;
  SendMessageA(Dialog(), WM_COMMAND, MAKEWPARAM(CM_PROFILE_RELOAD, 0), 0);
  EXPECT_FALSE(Checked(time));
  EXPECT_TRUE(Checked(PageItem("Options", IDC_GENERAL_SHOW_CALENDAR)));
  EXPECT_TRUE(Checked(GetDlgItem(VisiblePage(), IDC_GENERAL_FIT)));
  EXPECT_FALSE(Checked(GetDlgItem(VisiblePage(), IDC_GENERAL_CENTER)));
  EXPECT_EQ(Text(PageItem("Profiles", IDC_PROFILES_CURRENT)), other);
  DeleteFileA(other.c_str());
}

TEST_F(ConfigureDialogTest, DefaultTextOfADayIsWrittenAtOnceWhenTheDayChanges) {
  Open();
  HWND edit = PageItem("Default Text", IDC_DEFAULT_TEXT_EDIT);
  EXPECT_EQ(Text(GetDlgItem(VisiblePage(), IDC_DEFAULT_TEXT_DAY_NAME)), "Default text for Mondays");
  SetWindowTextA(edit, "Line one\r\nLine\ttwo");
  Click(GetDlgItem(VisiblePage(), IDC_DEFAULT_TEXT_MONDAY + 1));
  EXPECT_EQ(ReadKey(Active(), "DefaultText", "1"), "Line one\x14\x15Line two");
  EXPECT_EQ(Text(GetDlgItem(VisiblePage(), IDC_DEFAULT_TEXT_DAY_NAME)), "Default text for Tuesdays");
  EXPECT_EQ(Text(edit), "");
  // Cancel does not take it back.
  SendMessageA(Dialog(), WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), 0);
  EXPECT_EQ(ReadKey(Active(), "DefaultText", "1"), "Line one\x14\x15Line two");
}

TEST_F(ConfigureDialogTest, EmptiedFileNamesKeepThePreviousOnes) {
  const std::string calendar = folder_ + "test.cal";
  WriteFile(calendar, "QMKO_CAL_35 whatever follows");
  WriteProfile(Active(), "CALENDAR_FILENAME=" + calendar + "\r\nTILE_FILENAME=" + folder_ +
                             "tile.bmp\r\n");
  Open();
  SetWindowTextA(PageItem("Calendar", IDC_CALENDAR_FILE), "");
  SetWindowTextA(PageItem("Background", IDC_BACKGROUND_TILE_FILE), "");
  PressOk();
  EXPECT_EQ(ReadKey(Active(), "Settings", "CALENDAR_FILENAME"), calendar);
  EXPECT_EQ(ReadKey(Active(), "Settings", "TILE_FILENAME"), folder_ + "tile.bmp");
  DeleteFileA(calendar.c_str());
}

TEST_F(ConfigureDialogTest, ColourPickedForTheBackgroundSelectsTheColourRadio) {
  WriteProfile(Active(), "USE_COLOR=0\r\n");
  Open();
  HWND useColor = PageItem("Background", IDC_BACKGROUND_USE_COLOR);
  EXPECT_FALSE(Checked(useColor));
  SendMessageA(VisiblePage(), WM_COMMAND, MAKEWPARAM(CM_COLOR_PICKED, 0), 0);
  EXPECT_TRUE(Checked(useColor));
  EXPECT_FALSE(Checked(GetDlgItem(VisiblePage(), IDC_BACKGROUND_USE_IMAGE)));
}

TEST_F(ConfigureDialogTest, SelectBackgroundTakesOnlyAPictureAndReturnsToTheProgramFolder) {
  WriteProfile(Active(), "USE_COLOR=1\r\n");
  const std::string pictures = folder_ + "tiles\\";
  CreateDirectoryA(pictures.c_str(), nullptr);
  WriteFile(pictures + "tile.bmp", GreyBitmap(2, 0x7f));
  WriteFile(pictures + "bad.bmp", "not a picture");
  Open();
  HWND page = GetParent(PageItem("Background", IDC_BACKGROUND_TILE_FILE));
  struct Case { const char* chosen; const char* tile; bool useImage; };
  // A file that does not load changes nothing, but the folder the dialog went
  // to is left all the same.
  for (const Case& c : {Case{"bad.bmp", "", false}, Case{"tile.bmp", "tile.bmp", true},
                        Case{"bad.bmp", "tile.bmp", true}}) {
    SCOPED_TRACE(c.chosen);
    {
      DialogAnswerer answer("Open", pictures + c.chosen);
      Click(GetDlgItem(page, IDC_BACKGROUND_SELECT_TILE));
    }
    const std::string tile = *c.tile ? pictures + c.tile : "";
    EXPECT_EQ(Text(GetDlgItem(page, IDC_BACKGROUND_TILE_FILE)), tile);
    EXPECT_EQ(Settings().tileFile, tile);
    EXPECT_EQ(Checked(GetDlgItem(page, IDC_BACKGROUND_USE_IMAGE)), c.useImage);
    EXPECT_EQ(Checked(GetDlgItem(page, IDC_BACKGROUND_USE_COLOR)), !c.useImage);
    char current[MAX_PATH] = {};
    GetCurrentDirectoryA(MAX_PATH, current);
    EXPECT_EQ(std::string(current) + "\\", folder_);
  }
}

TEST_F(ConfigureDialogTest, ProfilesPageNamesTheDefaultProfile) {
  Open();
  EXPECT_EQ(Text(PageItem("Profiles", IDC_PROFILES_CURRENT)), "Orvalen.orv [Default]");
  for (int id : {IDC_PROFILES_NEW, IDC_PROFILES_OPEN, IDC_PROFILES_SAVE, IDC_PROFILES_SAVE_AS}) {
    EXPECT_NE(GetDlgItem(VisiblePage(), id), nullptr) << id;
  }
}

TEST_F(ConfigureDialogTest, SlideShowCopiesTheScreenIntoItsProfileWithTheFirstSelectedImage) {
  // The list keeps only files that exist.
  const std::string pictures = folder_ + "p\\";
  CreateDirectoryA(pictures.c_str(), nullptr);
  std::string files = "[Files]\r\n";
  for (int i = 0; i < 6; ++i) {
    const std::string path = pictures + std::to_string(i) + ".jpg";
    WriteFile(path, "x");
    files += ImageKey(i) + "=" + path + "\r\n";
  }
  WriteFile(Active(), "Orvalen\r\n[Settings]\r\nTotal=6\r\n" + files + "i6=<END>\r\n");
  Open();
  HWND list = PageItem("Images", IDC_IMAGES_LIST);
  ASSERT_EQ(SendMessageA(list, LVM_GETITEMCOUNT, 0, 0), 6);
  SetWindowTextA(PageItem("Options", IDC_GENERAL_DELAY), "11");
  const std::string slide = Startup().slideProfilePath;
  struct Case { std::vector<int> selected; const char* lastImage; };
  for (const Case& c : {Case{{}, "0"}, Case{{3, 5}, "3"}}) {
    LVITEMA state{};
    state.stateMask = LVIS_SELECTED;
    state.state = 0;
    SendMessageA(list, LVM_SETITEMSTATE, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(&state));
    state.state = LVIS_SELECTED;
    for (int index : c.selected) {
      SendMessageA(list, LVM_SETITEMSTATE, index, reinterpret_cast<LPARAM>(&state));
    }
    SendMessageA(Dialog(), WM_COMMAND, MAKEWPARAM(IDC_CONFIGURE_SLIDE_SHOW, BN_CLICKED), 0);
    EXPECT_EQ(ReadKey(slide, "Settings", "LastImage"), c.lastImage);
    EXPECT_EQ(ReadKey(slide, "Settings", "VALUE_DELAY"), "11");  // the screen, unsaved
    EXPECT_EQ(ReadKey(slide, "Files", "i5"), pictures + "5.jpg");
    EXPECT_EQ(ReadKey(slide, "Files", "i6"), "<END>");
  }
  EXPECT_EQ(ReadKey(Active(), "Settings", "VALUE_DELAY"), "<missing>");
}

TEST_F(ConfigureDialogTest, DamagedProfileOpensWithSaneValues) {
  std::string garbage(5000, 'x');
  garbage += "\r\n[Settings]\r\nvalue_delay=-5\r\nUSE_COLOR_RGB=a,b\r\nTotal=100000\r\n";
  garbage += std::string("\0\xff\x01[Files]\r\ni0=", 14) + std::string(5000, 'p') + "\r\n";
  WriteFile(Active(), garbage);
  Open();
  EXPECT_EQ(Text(PageItem("Options", IDC_GENERAL_DELAY)), "4");  // negative: the default
  EXPECT_TRUE(IsWindow(Dialog()));
}

TEST_F(ConfigureDialogTest, OkOnAProfileThatCannotBeWrittenSaysSoAndKeepsTheDialogOpen) {
  WriteProfile(Active(), "VALUE_DELAY=6\r\n");
  Open();
  // Another program holds the file open without sharing it.
  HANDLE locked = CreateFileA(Active().c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
  ASSERT_NE(locked, INVALID_HANDLE_VALUE);
  SetWindowTextA(PageItem("Options", IDC_GENERAL_DELAY), "9");
  {
    DialogAnswerer message("Orvalen", "");
    SendMessageA(Dialog(), WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
    EXPECT_NE(message.Seen().find("Nothing was saved."), std::string::npos);
  }
  EXPECT_TRUE(IsWindow(Dialog()));
  CloseHandle(locked);
  EXPECT_EQ(ReadKey(Active(), "Settings", "VALUE_DELAY"), "6");
}

TEST_F(ConfigureDialogTest, NewProfileHasOneLineAndAnEmptyList) {
  Open();
  HWND page = GetParent(PageItem("Profiles", IDC_PROFILES_CURRENT));
  {
    DialogAnswerer answer("New File", folder_ + "test");
    Click(GetDlgItem(page, IDC_PROFILES_NEW));
  }
  const std::string created = folder_ + "test.orv";
  EXPECT_EQ(Active(), created);
  EXPECT_EQ(Text(GetDlgItem(page, IDC_PROFILES_CURRENT)), created);
  std::FILE* file = std::fopen(created.c_str(), "rb");
  ASSERT_NE(file, nullptr);
  char content[32] = {};
  std::fread(content, 1, sizeof content - 1, file);
  std::fclose(file);
  EXPECT_STREQ(content, "Orvalen\r\n");
  EXPECT_EQ(SendMessageA(PageItem("Images", IDC_IMAGES_LIST), LVM_GETITEMCOUNT, 0, 0), 0);
  DeleteFileA(created.c_str());
}

TEST_F(ConfigureDialogTest, SaveAsAppendsTheExtensionUnlessItIsOrvInAnyCase) {
  Open();
  HWND page = GetParent(PageItem("Profiles", IDC_PROFILES_CURRENT));
  struct Case { const char* typed; const char* saved; };
  for (const Case& c : {Case{"x.txt", "x.txt.orv"}, Case{"x.ORV", "x.ORV"}}) {
    Startup().activeProfilePath = Startup().defaultProfilePath;
    {
      DialogAnswerer answer("Save As...", folder_ + c.typed);
      Click(GetDlgItem(page, IDC_PROFILES_SAVE_AS));
    }
    EXPECT_EQ(Active(), folder_ + c.saved);
    EXPECT_EQ(Text(GetDlgItem(page, IDC_PROFILES_CURRENT)), folder_ + c.saved);
    EXPECT_EQ(ReadKey(Active(), "Settings", "VALUE_DELAY"), "4");  // the pages were written
  }
  DeleteFileA((folder_ + "x.txt.orv").c_str());
  DeleteFileA((folder_ + "x.ORV").c_str());
}

TEST_F(ConfigureDialogTest, OpeningAsksAboutUnsignedFilesAndRefusesTheOpenOne) {
  Open();
  HWND page = GetParent(PageItem("Profiles", IDC_PROFILES_CURRENT));
  const std::string unsigned_ = folder_ + "unsigned.orv";
  WriteProfile(unsigned_, "VALUE_DELAY=7\r\n");
  {
    DialogAnswerer file("Open", unsigned_);
    DialogAnswerer question("Quillmark Organizer", "", IDCANCEL);
    Click(GetDlgItem(page, IDC_PROFILES_OPEN));
    EXPECT_EQ(question.Seen(), "This may not be a Orvalen file\nDo you want to continue?");
  }
  EXPECT_EQ(Active(), Startup().defaultProfilePath);  // Cancel keeps the profile
  {
    DialogAnswerer file("Open", Active());
    DialogAnswerer message("Orvalen", "");
    Click(GetDlgItem(page, IDC_PROFILES_OPEN));
    EXPECT_EQ(message.Seen(), "Already Open");
  }
  DeleteFileA(unsigned_.c_str());
}

// Closes the first visible window of this process with that caption, from a
// thread of its own, with the Cancel command.
// Records what the links ask the shell to open and how it is to be shown.
std::vector<std::pair<std::string, int>> shellOpens;
HINSTANCE WINAPI RecordShellOpen(HWND, LPCSTR, LPCSTR file, LPCSTR, LPCSTR, INT show) {
  shellOpens.emplace_back(file ? file : "", show);
  return reinterpret_cast<HINSTANCE>(42);
}

TEST_F(ConfigureDialogTest, LinksOpenTheirTargetShownNormally) {
  Open();
  test_support::ImportPatch patch("shell32.dll", "ShellExecuteA",
                                  reinterpret_cast<void*>(&RecordShellOpen));
  ASSERT_TRUE(patch.Installed());
  shellOpens.clear();
  Click(PageItem("About", IDC_ABOUT_WEB_LINK));
  Click(GetDlgItem(VisiblePage(), IDC_ABOUT_MAIL_LINK));
  Click(GetDlgItem(Dialog(), IDC_CONFIGURE_HOME_LINK));
  const std::string guide = UserGuidePath();
  EXPECT_EQ(shellOpens, (std::vector<std::pair<std::string, int>>{
                            {guide, SW_SHOWNORMAL},
                            {std::string("mailto:") + kMailAddress, SW_SHOWNORMAL},
                            {guide, SW_SHOWNORMAL}}));
}

class WindowCanceller {
 public:
  explicit WindowCanceller(std::string caption)
      : caption_(std::move(caption)), thread_([this] { Run(); }) {}
  ~WindowCanceller() {
    if (thread_.joinable()) thread_.join();
  }
  bool Found() {
    if (thread_.joinable()) thread_.join();
    return found_;
  }

 private:
  void Run() {
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
    while (std::chrono::steady_clock::now() < deadline) {
      HWND window = FindWindowA("#32770", caption_.c_str());
      if (window && IsWindowVisible(window)) {
        found_ = true;
        PostMessageA(window, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), 0);
        return;
      }
      std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
  }

  std::string caption_;
  std::atomic<bool> found_{false};
  std::thread thread_;
};

TEST_F(ConfigureDialogTest, EditCalendarRunsTheEditorOnTheFileAndShowsItAfterwards) {
  const std::string calendar = folder_ + "edited.cal";
  ASSERT_EQ(MakeSampleCalendar(calendar, folder_ + "make~.~"), CalendarResult::kOk);
  WriteProfile(Startup().defaultProfilePath, "CALENDAR_FILENAME=" + calendar + "\r\n");
  Open();
  HWND file = PageItem("Calendar", IDC_CALENDAR_FILE);
  EXPECT_EQ(Text(file), calendar);
  SetWindowTextA(file, "typed over");
  SetCurrentDirectoryA("C:\\");
  {
    WindowCanceller editor(calendar);  // the editor's caption is its file
    Click(PageItem("Calendar", IDC_CALENDAR_EDIT));
    EXPECT_TRUE(editor.Found());
  }
  EXPECT_EQ(Text(file), calendar);
  EXPECT_EQ(Settings().calendarFile, calendar);
  char current[MAX_PATH] = {};
  GetCurrentDirectoryA(MAX_PATH, current);
  EXPECT_EQ(std::string(current) + "\\", folder_);
  DeleteFileA(calendar.c_str());
}

// The images page: what it loads, adds, refuses, sorts, removes and queues.
class ImagesPageTest : public ConfigureDialogTest {
 protected:
  void SetUp() override {
    ConfigureDialogTest::SetUp();
    pictures_ = folder_ + ::testing::UnitTest::GetInstance()->current_test_info()->name() + "\\";
    CreateDirectoryA(pictures_.c_str(), nullptr);
  }

  std::string Picture(const std::string& name) {
    WriteFile(pictures_ + name, GreyBitmap(2, 0x7f));
    return pictures_ + name;
  }
  std::string NotAPicture(const std::string& name, size_t bytes = 10) {
    WriteFile(pictures_ + name, std::string(bytes, 'x'));
    return pictures_ + name;
  }
  // A profile whose Files section holds `files` (key=value lines) and whose
  // ImageText section holds `texts`; then the dialog opened on it.
  void OpenWith(const std::string& files, const std::string& texts = "") {
    WriteFile(Active(), "Orvalen\r\n[Settings]\r\n[Files]\r\n" + files + "[ImageText]\r\n" + texts);
    Open();
    list_ = PageItem("Images", IDC_IMAGES_LIST);
    page_ = GetParent(list_);
  }
  int Count() const { return static_cast<int>(SendMessageA(list_, LVM_GETITEMCOUNT, 0, 0)); }
  std::string Cell(int item, int column) const {
    char text[1024] = {};
    LVITEMA get{};
    get.iSubItem = column;
    get.pszText = text;
    get.cchTextMax = sizeof text;
    SendMessageA(list_, LVM_GETITEMTEXTA, item, reinterpret_cast<LPARAM>(&get));
    return text;
  }
  std::vector<std::string> Names() const {
    std::vector<std::string> names;
    for (int i = 0; i < Count(); ++i) names.push_back(Cell(i, 0));
    return names;
  }
  UINT State(int item) const {
    return static_cast<UINT>(
        SendMessageA(list_, LVM_GETITEMSTATE, item, LVIS_SELECTED | LVIS_FOCUSED));
  }
  void Select(const std::vector<int>& items) {
    LVITEMA state{};
    state.stateMask = LVIS_SELECTED;
    SendMessageA(list_, LVM_SETITEMSTATE, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(&state));
    state.state = LVIS_SELECTED;
    for (int item : items) SendMessageA(list_, LVM_SETITEMSTATE, item, reinterpret_cast<LPARAM>(&state));
  }
  void ClickColumn(int column) {
    NMLISTVIEW click{};
    click.hdr.hwndFrom = list_;
    click.hdr.idFrom = IDC_IMAGES_LIST;
    click.hdr.code = LVN_COLUMNCLICK;
    click.iItem = -1;
    click.iSubItem = column;
    SendMessageA(page_, WM_NOTIFY, IDC_IMAGES_LIST, reinterpret_cast<LPARAM>(&click));
  }
  // Drops `paths` on the dialog the way the shell does.
  void Drop(const std::vector<std::string>& paths) {
    std::string names;
    for (const std::string& path : paths) names += path + '\0';
    names += '\0';
    HGLOBAL memory = GlobalAlloc(GHND, sizeof(DROPFILES) + names.size());
    auto* drop = static_cast<DROPFILES*>(GlobalLock(memory));
    drop->pFiles = sizeof(DROPFILES);
    std::memcpy(reinterpret_cast<char*>(drop) + sizeof(DROPFILES), names.data(), names.size());
    GlobalUnlock(memory);
    SendMessageA(Dialog(), WM_DROPFILES, reinterpret_cast<WPARAM>(memory), 0);
  }
  int Queued() const {
    return static_cast<int>(
        SendMessageA(GetDlgItem(page_, IDC_IMAGES_DROP_QUEUE), LB_GETCOUNT, 0, 0));
  }
  void Tick() { SendMessageA(page_, WM_TIMER, 5, 0); }

  std::string pictures_;
  HWND list_ = nullptr;
  HWND page_ = nullptr;
};

TEST_F(ImagesPageTest, LoadSkipsGapsStopsAtTheEndAndKeepsTextsWithTheirOwnFiles) {
  const std::string a = Picture("a.bmp"), b = Picture("b.bmp"), c = Picture("c.bmp");
  const std::string gone = pictures_ + "gone.bmp";
  struct Case {
    std::string files, texts;
    std::vector<std::string> names, storedTexts;
  };
  const Case cases[] = {
      // i1 missing, i2 "<>", i3 empty: skipped; i4 stops the list
      {"i0=" + a + "\r\ni2=<>\r\ni3=\r\ni4=" + b + "\r\ni5=<END>\r\ni6=" + c + "\r\n",
       "i0=first\r\ni4=line\x14\x15two\r\ni6=never\r\n",
       {"a.bmp", "b.bmp"}, {"first", "line\x14\x15two"}},
      {"i0=" + a + "\r\ni2=" + b + "\r\ni3=" + c + "\r\n", "", {"a.bmp", "b.bmp", "c.bmp"},
       {"", "", ""}},
      {"i0=" + a + "\r\ni1=<END>\r\ni2=" + b + "\r\n", "", {"a.bmp"}, {""}},
      // a file that no longer exists goes with its text
      {"i0=" + gone + "\r\ni1=" + c + "\r\ni2=<END>\r\n", "i0=lost\r\ni1=kept\r\n",
       {"c.bmp"}, {"kept"}},
      // a name longer than a path can be is skipped like a missing file
      {"i0=" + pictures_ + std::string(300, 'x') + ".bmp\r\ni1=" + a + "\r\n", "", {"a.bmp"}, {""}},
      // entries from i1000 on are never read
      {"i1000=" + a + "\r\n", "", {}, {}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.files);
    OpenWith(c.files, c.texts);
    ASSERT_EQ(Names(), c.names);
    for (int i = 0; i < Count(); ++i) {
      EXPECT_EQ(Cell(i, 1), pictures_);
      EXPECT_EQ(Cell(i, 7), c.storedTexts[i]);
    }
    if (Count() > 0) {
      EXPECT_EQ(State(0), static_cast<UINT>(LVIS_SELECTED | LVIS_FOCUSED));
    }
    dialog_.reset();
  }
}

TEST_F(ImagesPageTest, ColumnsShowTheFileAsTheFileSystemKeepsIt) {
  const std::string path = NotAPicture("Shot.v2.Jpeg", 2048);
  {
    HANDLE file = CreateFileA(path.c_str(), FILE_WRITE_ATTRIBUTES, 0, nullptr, OPEN_EXISTING, 0,
                              nullptr);
    ASSERT_NE(file, INVALID_HANDLE_VALUE);
    auto stamp = [](WORD year, WORD month, WORD day, WORD hour, WORD minute) {
      SYSTEMTIME calendar{year, month, 0, day, hour, minute, 30, 0};
      FILETIME time{};
      SystemTimeToFileTime(&calendar, &time);
      return time;
    };
    const FILETIME created = stamp(1998, 12, 31, 23, 59);
    const FILETIME accessed = stamp(2001, 2, 3, 4, 5);
    const FILETIME written = stamp(1999, 3, 7, 9, 5);
    SetFileTime(file, &created, &accessed, &written);
    CloseHandle(file);
  }
  OpenWith("i0=" + path + "\r\n");
  ASSERT_EQ(Count(), 1);
  // Not every file system keeps a creation time: the column shows the one it reports.
  WIN32_FILE_ATTRIBUTE_DATA data{};
  ASSERT_TRUE(GetFileAttributesExA(path.c_str(), GetFileExInfoStandard, &data));
  SYSTEMTIME created{};
  FileTimeToSystemTime(&data.ftCreationTime, &created);
  char createdText[16];
  std::snprintf(createdText, sizeof createdText, "%04d/%02d/%02d", created.wYear, created.wMonth,
                created.wDay);
  const std::vector<std::string> expected = {"Shot.v2.Jpeg", pictures_, "3KB", "1999/03/07 09:05",
                                             "2001/02/03",   createdText, "JPEG", ""};
  for (int column = 0; column < 8; ++column) EXPECT_EQ(Cell(0, column), expected[column]) << column;

  struct Header { const char* text; int width; int format; };
  const Header headers[] = {{"Name", 200, LVCFMT_LEFT},     {"Folder", 200, LVCFMT_LEFT},
                            {"Size", 50, LVCFMT_RIGHT},     {"Modified", 110, LVCFMT_LEFT},
                            {"Visited", 80, LVCFMT_LEFT},   {"Created", 80, LVCFMT_LEFT},
                            {"Type", 40, LVCFMT_LEFT},      {"Display this text", 1, LVCFMT_LEFT}};
  for (int column = 0; column < 8; ++column) {
    char text[64] = {};
    LVCOLUMNA info{};
    info.mask = LVCF_TEXT | LVCF_WIDTH | LVCF_FMT;
    info.pszText = text;
    info.cchTextMax = sizeof text;
    ASSERT_TRUE(SendMessageA(list_, LVM_GETCOLUMNA, column, reinterpret_cast<LPARAM>(&info)));
    EXPECT_STREQ(text, headers[column].text);
    EXPECT_EQ(info.cx, headers[column].width) << column;
    EXPECT_EQ(info.fmt & LVCFMT_JUSTIFYMASK, headers[column].format) << column;
  }
}

// Records the captions given to one window of this thread.
class CaptionRecorder {
 public:
  explicit CaptionRecorder(HWND window) {
    watched_ = window;
    captions_.clear();
    hook_ = SetWindowsHookExA(WH_CALLWNDPROC, &Record, nullptr, GetCurrentThreadId());
  }
  ~CaptionRecorder() { UnhookWindowsHookEx(hook_); }
  const std::vector<std::string>& Captions() const { return captions_; }

 private:
  static LRESULT CALLBACK Record(int code, WPARAM wParam, LPARAM lParam) {
    const auto* sent = reinterpret_cast<const CWPSTRUCT*>(lParam);
    if (code == HC_ACTION && sent->hwnd == watched_ && sent->message == WM_SETTEXT &&
        sent->lParam) {
      captions_.push_back(reinterpret_cast<const char*>(sent->lParam));
    }
    return CallNextHookEx(nullptr, code, wParam, lParam);
  }
  static inline HWND watched_ = nullptr;
  static inline std::vector<std::string> captions_;
  HHOOK hook_ = nullptr;
};

TEST_F(ImagesPageTest, AddFileRefusesDuplicatesAndFilesThatAreNoPicture) {
  const std::string listed = Picture("listed.bmp");
  OpenWith("i0=" + listed + "\r\n");
  const std::string bad = NotAPicture("bad.bmp");
  const std::string good = Picture("good.bmp");
  struct Case {
    std::string chosen;
    std::vector<std::string> captions;
    std::vector<std::string> names;
  };
  const Case cases[] = {
      {listed, {"Already add: " + listed, "Orvalen"}, {"listed.bmp"}},
      {bad, {"Testing: " + bad, "Orvalen"}, {"listed.bmp"}},
      {good, {"Testing: " + good, "Orvalen"}, {"good.bmp", "listed.bmp"}},
      // the duplicate test compares case-sensitively: another spelling is another item
      {pictures_ + "LISTED.bmp", {"Testing: " + pictures_ + "LISTED.bmp", "Orvalen"},
       {"LISTED.bmp", "good.bmp", "listed.bmp"}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.chosen);
    SetCurrentDirectoryA(pictures_.c_str());
    CaptionRecorder recorder(Dialog());
    {
      DialogAnswerer answer("Open", c.chosen);
      Click(GetDlgItem(page_, IDC_IMAGES_ADD_FILE));
    }
    EXPECT_EQ(recorder.Captions(), c.captions);
    EXPECT_EQ(Names(), c.names);
    char current[MAX_PATH] = {};
    GetCurrentDirectoryA(MAX_PATH, current);
    EXPECT_EQ(std::string(current) + "\\", folder_);
  }
  // The new picture takes the selection and the focus from the old one.
  EXPECT_EQ(State(0), static_cast<UINT>(LVIS_SELECTED | LVIS_FOCUSED));
  EXPECT_EQ(State(1) & LVIS_SELECTED, 0u);
}

TEST_F(ImagesPageTest, ColumnClicksSortDescendingFirstThenFlipAndRowsMoveWhole) {
  const struct { const char* name; size_t bytes; const char* text; } files[] = {
      {"b.jpg", 9 * 1024, "bee"}, {"a.jpg", 100, "ay"}, {"c.jpg", 8 * 1024, "see"}};
  std::string lines;
  std::string texts;
  for (int i = 0; i < 3; ++i) {
    lines += ImageKey(i) + "=" + NotAPicture(files[i].name, files[i].bytes) + "\r\n";
    texts += ImageKey(i) + "=" + files[i].text + "\r\n";
  }
  OpenWith(lines, texts);
  // Sorting goes by the texts shown: a file gone since the list was made keeps its row.
  DeleteFileA((pictures_ + "b.jpg").c_str());
  struct Case { int column; std::vector<std::string> names; };
  const Case cases[] = {
      {0, {"c.jpg", "b.jpg", "a.jpg"}},  // first click: Z to A
      {0, {"a.jpg", "b.jpg", "c.jpg"}},  // again: A to Z
      {0, {"c.jpg", "b.jpg", "a.jpg"}},
      {2, {"b.jpg", "c.jpg", "a.jpg"}},  // sizes descending: 10KB, 9KB, 1KB
      {2, {"a.jpg", "c.jpg", "b.jpg"}},  // ascending by number: 1KB, 9KB, 10KB
      {6, {"a.jpg", "c.jpg", "b.jpg"}},  // equal types keep their order
  };
  for (const Case& c : cases) {
    ClickColumn(c.column);
    EXPECT_EQ(Names(), c.names) << c.column;
  }
  for (int i = 0; i < Count(); ++i) {
    const std::string name = Cell(i, 0);
    EXPECT_EQ(Cell(i, 7), name == "a.jpg" ? "ay" : name == "b.jpg" ? "bee" : "see");
  }
}

TEST_F(ImagesPageTest, RemoveTakesEverySelectedItemAndFreesItsPlace) {
  std::string lines;
  std::vector<std::string> paths;
  for (int i = 0; i < 5; ++i) {
    paths.push_back(Picture(std::to_string(i) + ".bmp"));
    lines += ImageKey(i) + "=" + paths.back() + "\r\n";
  }
  OpenWith(lines);
  Select({1, 2, 4});
  Click(GetDlgItem(page_, IDC_IMAGES_REMOVE));
  EXPECT_EQ(Names(), (std::vector<std::string>{"0.bmp", "3.bmp"}));
  Drop({paths[2]});  // no longer a duplicate
  EXPECT_EQ(Queued(), 1);
  Tick();
  EXPECT_EQ(Names(), (std::vector<std::string>{"2.bmp", "0.bmp", "3.bmp"}));
}

TEST_F(ImagesPageTest, DropQueueAddsOnePathPerTickAndRefusesWhatIsNoPicture) {
  const std::string listed = Picture("listed.bmp");
  OpenWith("i0=" + listed + "\r\n");
  const std::string folder = pictures_ + "folder.bmp";
  CreateDirectoryA(folder.c_str(), nullptr);
  const std::vector<std::string> dropped = {Picture("z.bmp"), folder, NotAPicture("m.bmp"),
                                            Picture("a.bmp"), listed};
  Drop(dropped);
  EXPECT_EQ(Queued(), 4);  // the listed file is not queued
  HWND dragDrop = GetDlgItem(page_, IDC_IMAGES_DRAG_DROP);
  const int locked[] = {IDC_IMAGES_LIST, IDC_IMAGES_ADD_FILE, IDC_IMAGES_REMOVE,
                        IDC_IMAGES_PREVIEW, IDC_IMAGES_TEXT};
  // In the queue's alphabetical order: a.bmp, folder.bmp, m.bmp, z.bmp.
  const std::vector<std::vector<std::string>> afterTick = {
      {"a.bmp", "listed.bmp"},
      {"a.bmp", "listed.bmp"},
      {"a.bmp", "listed.bmp"},
      {"z.bmp", "a.bmp", "listed.bmp"}};
  for (size_t tick = 0; tick < afterTick.size(); ++tick) {
    SCOPED_TRACE(tick);
    Tick();
    EXPECT_EQ(Queued(), static_cast<int>(afterTick.size() - tick - 1));
    EXPECT_EQ(Names(), afterTick[tick]);
    if (tick == 1) {
      EXPECT_EQ(Text(Dialog()), "Testing: " + folder);
    }
    const bool draining = tick + 1 < afterTick.size();
    EXPECT_EQ(Text(dragDrop), draining ? "STOP" : "&Drag && Drop");
    for (int id : locked) EXPECT_EQ(IsWindowEnabled(GetDlgItem(page_, id)) != 0, !draining) << id;
  }
  EXPECT_EQ(Text(Dialog()), "Orvalen");

  // STOP keeps what was added and drops the rest.
  Drop({Picture("p1.bmp"), Picture("p2.bmp"), Picture("p3.bmp")});
  Tick();
  EXPECT_EQ(Text(dragDrop), "STOP");
  Click(dragDrop);
  EXPECT_EQ(Queued(), 0);
  EXPECT_EQ(Text(dragDrop), "&Drag && Drop");
  EXPECT_TRUE(IsWindowEnabled(list_));
  EXPECT_EQ(Count(), 4);
}

TEST_F(ImagesPageTest, DropDrainsAboutFivePathsASecondOnItsOwnTimer) {
  OpenWith("");
  std::vector<std::string> dropped;
  for (int i = 0; i < 30; ++i) dropped.push_back(Picture("d" + std::to_string(i) + ".bmp"));
  Drop(dropped);
  EXPECT_EQ(Queued(), 30);
  const DWORD start = GetTickCount();
  while (GetTickCount() - start < 1000) {
    Pump();
    Sleep(10);
  }
  // One path per 200 ms tick: at most five in a second (a sixth at its edge).
  EXPECT_GE(Count(), 1);
  EXPECT_LE(Count(), 6);
  EXPECT_FALSE(IsWindowEnabled(list_));
  EXPECT_EQ(Text(GetDlgItem(page_, IDC_IMAGES_DRAG_DROP)), "STOP");
  const int added = Count();
  Click(GetDlgItem(page_, IDC_IMAGES_DRAG_DROP));
  Pump();
  EXPECT_EQ(Queued(), 0);
  EXPECT_EQ(Count(), added);
  EXPECT_TRUE(IsWindowEnabled(list_));
}

// Records the folders the page asks the shell to open, without opening them.
std::vector<std::string> openedFolders;
HINSTANCE WINAPI RecordShellExecute(HWND, LPCSTR, LPCSTR file, LPCSTR, LPCSTR, INT) {
  openedFolders.push_back(file ? file : "");
  return reinterpret_cast<HINSTANCE>(42);
}

TEST_F(ImagesPageTest, DragAndDropOpensTheLastSelectedPicturesFolderOrTheDrive) {
  const std::string other = pictures_ + "other\\";
  CreateDirectoryA(other.c_str(), nullptr);
  WriteFile(other + "o.bmp", "");
  OpenWith("i0=" + Picture("a.bmp") + "\r\ni1=" + other + "o.bmp\r\ni2=" + Picture("b.bmp") +
           "\r\n");
  test_support::ImportPatch patch("shell32.dll", "ShellExecuteA",
                                  reinterpret_cast<void*>(&RecordShellExecute));
  ASSERT_TRUE(patch.Installed());
  openedFolders.clear();
  for (const std::vector<int>& selection : {std::vector<int>{}, {0, 1}, {2}}) {
    Select(selection);
    Click(GetDlgItem(page_, IDC_IMAGES_DRAG_DROP));
  }
  EXPECT_EQ(openedFolders, (std::vector<std::string>{"c:\\", other, pictures_}));
}

TEST_F(ImagesPageTest, AThousandImagesRefuseAddFileAndDropsCountTheQueue) {
  std::string lines;
  for (int i = 0; i < 1000; ++i) {
    lines += ImageKey(i) + "=" + NotAPicture(std::to_string(i) + ".jpg", 0) + "\r\n";
  }
  OpenWith(lines);
  ASSERT_EQ(Count(), 1000);
  {
    DialogAnswerer message("Orvalen", "");
    Click(GetDlgItem(page_, IDC_IMAGES_ADD_FILE));
    EXPECT_EQ(message.Seen(), "Too many images");
  }
  Select({0, 1});
  Click(GetDlgItem(page_, IDC_IMAGES_REMOVE));
  ASSERT_EQ(Count(), 998);
  {
    DialogAnswerer message("Orvalen", "");
    Drop({Picture("x1.bmp"), Picture("x2.bmp"), Picture("x3.bmp")});
    EXPECT_EQ(message.Seen(), "Too many images");
  }
  while (Queued() > 0) Tick();
  EXPECT_EQ(Count(), 1000);
}

TEST_F(ImagesPageTest, SeveralFilesChosenAreAddedUntilTheListIsFull) {
  std::string lines;
  for (int i = 0; i < 998; ++i) {
    lines += ImageKey(i) + "=" + NotAPicture(std::to_string(i) + ".jpg", 0) + "\r\n";
  }
  OpenWith(lines);
  ASSERT_EQ(Count(), 998);
  Picture("x1.bmp");
  Picture("x2.bmp");
  Picture("x3.bmp");
  Select({5});  // the dialog opens in the folder of the last selected item
  {
    DialogAnswerer answer("Open", "\"x1.bmp\" \"5.jpg\" \"x2.bmp\" \"x3.bmp\"");
    DialogAnswerer message("Orvalen", "");
    Click(GetDlgItem(page_, IDC_IMAGES_ADD_FILE));
    EXPECT_EQ(message.Seen(), "Too many images");
  }
  // The listed file is skipped; several files are added without the test,
  // each at the top, and the adding stops at 1000.
  EXPECT_EQ(Count(), 1000);
  EXPECT_EQ(Cell(0, 0), "x2.bmp");
  EXPECT_EQ(Cell(1, 0), "x1.bmp");
  EXPECT_EQ(Text(Dialog()), "Orvalen");
}

TEST_F(ImagesPageTest, ProfileEntriesListOnlyFilesAndFindBareNamesInTheProgramFolder) {
  WriteFile(folder_ + "sample.bmp", GreyBitmap(2, 0x7f));  // the installation's own picture
  const std::string a = Picture("a.bmp");
  const std::string folder = pictures_.substr(0, pictures_.size() - 1);
  OpenWith("i0=sample.bmp\r\ni1=" + folder + "\r\ni2=C:\\\r\ni3=" + pictures_ + "*.bmp\r\ni4=" +
           pictures_ + "a?bmp\r\ni5=" + a + "\r\n");
  EXPECT_EQ(Names(), (std::vector<std::string>{"sample.bmp", "a.bmp"}));
  EXPECT_EQ(Cell(0, 1), folder_);
  EXPECT_EQ(Cell(1, 1), pictures_);
  Drop({folder_ + "sample.bmp"});  // already listed
  EXPECT_EQ(Queued(), 0);
  PressOk();
  EXPECT_EQ(ReadKey(Active(), "Files", "i0"), folder_ + "sample.bmp");
  DeleteFileA((folder_ + "sample.bmp").c_str());
}

TEST_F(ImagesPageTest, ALoadLeavesNoCaptionOfARepeatedEntryBehind) {
  const std::string a = Picture("a.bmp");
  const std::string repeated = "i0=" + a + "\r\ni1=" + a + "\r\ni2=<END>\r\n";
  OpenWith(repeated);  // at start
  EXPECT_EQ(Count(), 1);
  EXPECT_EQ(Text(Dialog()), "Orvalen");
  // The profiles page opening another profile.
  const std::string other = folder_ + "other.orv";
  WriteFile(other, "Orvalen\r\n[Settings]\r\n[Files]\r\n" + repeated);
  Startup().activeProfilePath = other;
  SendMessageA(Dialog(), WM_COMMAND, MAKEWPARAM(CM_PROFILE_RELOAD, 0), 0);
  EXPECT_EQ(Count(), 1);
  EXPECT_EQ(Text(Dialog()), "Orvalen");
  DeleteFileA(other.c_str());
}

TEST_F(ImagesPageTest, OkWithNoPicturesLeftWritesAnEmptyTextSection) {
  OpenWith("i0=" + Picture("a.bmp") + "\r\ni1=" + Picture("b.bmp") + "\r\ni2=<END>\r\n",
           "i0=first\r\ni1=second\r\n");
  ASSERT_EQ(Count(), 2);
  Select({0, 1});
  Click(GetDlgItem(page_, IDC_IMAGES_REMOVE));
  PressOk();
  EXPECT_EQ(ReadKey(Active(), "Settings", "Total"), "0");
  EXPECT_EQ(ReadKey(Active(), "Files", "i0"), "<END>");
  char keys[256] = {};
  EXPECT_EQ(GetPrivateProfileSectionA("ImageText", keys, sizeof keys, Active().c_str()), 0u);
  std::FILE* file = std::fopen(Active().c_str(), "rb");
  ASSERT_NE(file, nullptr);
  std::string content(4096, '\0');
  content.resize(std::fread(content.data(), 1, content.size(), file));
  std::fclose(file);
  EXPECT_NE(content.find("[ImageText]"), std::string::npos) << content;
}

TEST_F(ImagesPageTest, AThousandCameraPicturesChosenAtOnceAreAllAdded) {
  OpenWith("");
  // Selecting all of a camera's folder: a thousand long names, typed as the
  // dialog's name box holds a multiple selection.
  std::string typed;
  for (int i = 0; i < 1000; ++i) {
    char name[32];
    std::snprintf(name, sizeof name, "IMG_20240101_%06d.jpg", 120000 + i);
    NotAPicture(name, 0);
    typed += std::string(i ? " \"" : "\"") + name + "\"";
  }
  Startup().programDir = pictures_;  // where the dialog opens with nothing selected
  {
    DialogAnswerer answer("Open", typed);
    DialogAnswerer message("Orvalen", "");
    Click(GetDlgItem(page_, IDC_IMAGES_ADD_FILE));
    EXPECT_EQ(message.Seen(), "Too many images");  // the list is full after the last one
  }
  ASSERT_EQ(Count(), 1000);
  EXPECT_EQ(Cell(0, 0), "IMG_20240101_120999.jpg");
  EXPECT_EQ(Cell(999, 0), "IMG_20240101_120000.jpg");
  EXPECT_EQ(Cell(999, 1), pictures_);
}

// The window of this process with that class whose caption starts with `caption`.
struct ProcessWindowSearch {
  const char* className;
  const std::string* caption;
  HWND found;
};

BOOL CALLBACK MatchProcessWindow(HWND window, LPARAM data) {
  auto* s = reinterpret_cast<ProcessWindowSearch*>(data);
  DWORD process = 0;
  GetWindowThreadProcessId(window, &process);
  char name[64] = {};
  char text[256] = {};
  GetClassNameA(window, name, sizeof name);
  GetWindowTextA(window, text, sizeof text);
  if (process == GetCurrentProcessId() && std::string(name) == s->className &&
      std::string(text).rfind(*s->caption, 0) == 0) {
    s->found = window;
    return FALSE;
  }
  return TRUE;
}

HWND FindProcessWindow(const char* className, const std::string& caption) {
  ProcessWindowSearch search{className, &caption, nullptr};
  EnumWindows(&MatchProcessWindow, reinterpret_cast<LPARAM>(&search));
  return search.found;
}

TEST_F(ImagesPageTest, ToolWindowsFollowTheFocusedPictureAndTheTextIsAppliedToTheSelection) {
  const std::string a = Picture("a.bmp"), b = Picture("b.bmp");
  OpenWith("i0=" + a + "\r\ni1=" + b + "\r\n", "i1=second\x14\x15line\r\n");
  HWND textBox = GetDlgItem(page_, IDC_IMAGES_TEXT);
  HWND previewBox = GetDlgItem(page_, IDC_IMAGES_PREVIEW);
  HWND preview = FindProcessWindow("OrvalenImagePreview", "Preview");
  ASSERT_NE(preview, nullptr);
  EXPECT_FALSE(IsWindowVisible(preview));
  Check(previewBox, true);
  Click(previewBox);
  EXPECT_TRUE(IsWindowVisible(preview));

  Check(textBox, true);
  Click(textBox);
  HWND text = FindProcessWindow("#32770", "Image: ");
  ASSERT_NE(text, nullptr);
  EXPECT_TRUE(IsWindowVisible(text));
  EXPECT_EQ(Text(text), "Image: a.bmp");  // item 0 has the focus after loading

  LVITEMA focus{};
  focus.stateMask = LVIS_FOCUSED | LVIS_SELECTED;
  focus.state = LVIS_FOCUSED | LVIS_SELECTED;
  SendMessageA(list_, LVM_SETITEMSTATE, 1, reinterpret_cast<LPARAM>(&focus));
  EXPECT_EQ(Text(text), "Image: b.bmp");
  EXPECT_EQ(Text(GetDlgItem(text, IDC_IMAGE_TEXT_EDIT)), "second\r\nline");

  // Apply goes to the first selected item; with none selected it says so.
  Select({1});  // a change of selection refills the window: type after it
  SetWindowTextA(GetDlgItem(text, IDC_IMAGE_TEXT_EDIT), "new\ttext");
  Click(GetDlgItem(text, IDC_IMAGE_TEXT_APPLY));
  EXPECT_EQ(Cell(1, 7), "new text");
  Select({});
  {
    DialogAnswerer message("Orvalen", "");
    Click(GetDlgItem(text, IDC_IMAGE_TEXT_APPLY));
    EXPECT_EQ(message.Seen(), "error!");
  }
  EXPECT_EQ(Cell(0, 7), "");

  // Closing either window unchecks its box.
  SendMessageA(text, WM_CLOSE, 0, 0);
  SendMessageA(preview, WM_CLOSE, 0, 0);
  Pump();
  EXPECT_FALSE(Checked(textBox));
  EXPECT_FALSE(Checked(previewBox));
  EXPECT_FALSE(IsWindowVisible(text));
  EXPECT_FALSE(IsWindowVisible(preview));
}

}  // namespace
}  // namespace orvalen
