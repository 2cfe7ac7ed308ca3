// The calendar editor in the test process, on a calendar the test writes:
// month navigation, a day's journal typed, saved and read back through the
// calendar reader, and the question about unsaved changes.
#include "calendar/calendar_editor_win.h"

#include <gtest/gtest.h>

#include <commctrl.h>

#include <atomic>
#include <chrono>
#include <map>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "calendar/calendar_file.h"
#include "calendar/calendar_text.h"
#include "calendar/journal_rtf.h"
#include "calendar/journal_scratch.h"
#include "calendar/sample_calendar.h"
#include "calendar_test_helpers.h"
#include "resources/resource_ids.h"
#include "winapp/application_win.h"
#include "winapp/file_access_win.h"
#include "winapp/handles_win.h"

namespace orvalen {
namespace {

class MapProfile final : public Profile {
 public:
  std::map<std::string, std::string> values;
  std::string GetString(const char* section, const char* key, const char* defaultValue,
                        size_t) override {
    auto it = values.find(std::string(section) + "/" + key);
    return it == values.end() ? defaultValue : it->second;
  }
  int GetInt(const char*, const char*, int defaultValue) override { return defaultValue; }
  void WriteString(const char* section, const char* key, const char* value) override {
    values[std::string(section) + "/" + key] = value;
  }
  void ClearSection(const char*) override {}
  void Flush() override {}
};

void Pump() {
  MSG message;
  while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
    TranslateMessage(&message);
    DispatchMessageA(&message);
  }
}

std::string WindowText(HWND window) {
  char text[512] = {};
  GetWindowTextA(window, text, sizeof text);
  return text;
}

// The caption as the system keeps it, read without a message to the
// window's thread: the answering thread reads captions while the test's
// thread may be waiting for it.
std::string StoredCaption(HWND window) {
  wchar_t text[512] = {};
  const int length = InternalGetWindowText(window, text, 512);
  std::string caption;
  for (int i = 0; i < length; ++i) caption += static_cast<char>(text[i]);
  return caption;
}

// Answers the first dialog of this process with that caption from a thread of
// its own, as a user would: a file dialog gets `fileName` typed into its name
// box and OK; a message box gets its text read and `button` pressed.
class DialogAnswerer {
 public:
  DialogAnswerer(std::string caption, int button, std::string fileName = {})
      : caption_(std::move(caption)), button_(button), fileName_(std::move(fileName)),
        thread_([this] { Run(); }) {}
  ~DialogAnswerer() { Seen(); }
  std::string Seen() {
    stop_ = true;
    if (thread_.joinable()) thread_.join();
    return seen_;
  }

 private:
  static constexpr int kFileNameBox = 0x47C;
  static constexpr int kMessageText = 0xFFFF;

  static BOOL CALLBACK Match(HWND window, LPARAM data) {
    auto* self = reinterpret_cast<DialogAnswerer*>(data);
    DWORD process = 0;
    GetWindowThreadProcessId(window, &process);
    char name[16] = {};
    GetClassNameA(window, name, sizeof name);
    if (process != GetCurrentProcessId() || !IsWindowVisible(window) ||
        std::string(name) != "#32770" || StoredCaption(window) != self->caption_) {
      return TRUE;
    }
    const bool fileDialog = GetDlgItem(window, kFileNameBox) != nullptr;
    const bool wanted = self->fileName_.empty()
                            ? !fileDialog && GetDlgItem(window, kMessageText) != nullptr
                            : fileDialog;
    if (!wanted) return TRUE;
    self->found_ = window;
    return FALSE;
  }
  void Run() {
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
    while (std::chrono::steady_clock::now() < deadline) {
      EnumWindows(&Match, reinterpret_cast<LPARAM>(this));
      if (found_) {
        if (fileName_.empty()) {
          seen_ = WindowText(GetDlgItem(found_, kMessageText));
        } else {
          SendMessageA(GetDlgItem(found_, kFileNameBox), WM_SETTEXT, 0,
                       reinterpret_cast<LPARAM>(fileName_.c_str()));
        }
        PostMessageA(found_, WM_COMMAND, MAKEWPARAM(button_, BN_CLICKED), 0);
        return;
      }
      if (stop_) return;
      std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
  }

  std::string caption_;
  int button_;
  std::string fileName_;
  HWND found_ = nullptr;
  std::string seen_;
  std::atomic<bool> stop_{false};
  std::thread thread_;
};

class CalendarEditorTest : public ::testing::Test {
 protected:
  void SetUp() override {
    static Application application("calendar tests");
    calendarPath_ = folder_.Path("Sample.cal");
    ASSERT_EQ(MakeSampleCalendar(calendarPath_, folder_.Path("make~.~")), CalendarResult::kOk);
    calendarFile_ = calendarPath_;
    SetCurrentDirectoryA(folder_.Root().string().c_str());
  }
  void TearDown() override {
    editor_.reset();
    char temp[MAX_PATH];
    GetTempPathA(MAX_PATH, temp);
    SetCurrentDirectoryA(temp);
  }

  void Open() {
    editor_ = std::make_unique<TMwd>(
        CalendarEditorContext{&calendarFile_, &profile_, folder_.Root().string() + "\\"});
    ASSERT_NE(editor_->CreateModeless(nullptr), nullptr);
    Pump();
  }
  HWND Window() const { return editor_->Handle(); }
  void Command(int id) {
    SendMessageA(Window(), WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), 0);
    Pump();
  }
  std::string DateButton() const {
    return WindowText(GetDlgItem(Window(), IDC_CALENDAR_EDITOR_DATE));
  }
  void GoTo(int month, int year) {
    while (editor_->CurrentDate().year > year) Command(IDM_CALENDAR_PRIOR_YEAR);
    while (editor_->CurrentDate().year < year) Command(IDM_CALENDAR_NEXT_YEAR);
    Command(IDM_CALENDAR_JANUARY + month - 1);
  }
  void ClickDay(int day) {
    const int cell = editor_->Grid().CellOfDay(day);
    ASSERT_GT(cell, 0);
    const Rect r = editor_->Layout().CellRect(cell);
    const LPARAM at = MAKELPARAM(r.left + r.Width() / 2, r.top + r.Height() / 2);
    SendMessageA(Window(), WM_LBUTTONDOWN, MK_LBUTTON, at);
    SendMessageA(Window(), WM_LBUTTONUP, 0, at);
    Pump();
  }
  void Type(const std::string& text) {
    HWND journal = GetDlgItem(Window(), IDC_CALENDAR_EDITOR_JOURNAL);
    for (char c : text) SendMessageA(journal, WM_CHAR, static_cast<unsigned char>(c), 1);
    Pump();
  }
  DayTexts SavedDay(const Date& date) {
    CalendarWorkBuffer reader(folder_.Path("read~.~"));
    EXPECT_EQ(reader.Open(calendarPath_), CalendarResult::kOk);
    return reader.ReadDay(date);
  }

  test::TempDir folder_;
  std::string calendarPath_;
  std::string calendarFile_;
  MapProfile profile_;
  std::unique_ptr<TMwd> editor_;
};

TEST_F(CalendarEditorTest, OpensTheCalendarFileAndListsItAsRecent) {
  Open();
  EXPECT_TRUE(editor_->FileOpen());
  EXPECT_EQ(WindowText(Window()), calendarPath_);
  EXPECT_EQ(DateButton(), DateButtonText(editor_->CurrentDate()));
  // The file the editor starts with leaves the recent files as they were.
  EXPECT_EQ(profile_.values.count("Calendar MRU/MRU0"), 0u);
  EXPECT_EQ(editor_->SelectedCell(), -1);
  RECT client{};
  GetClientRect(Window(), &client);
  RECT cancel{};
  GetWindowRect(GetDlgItem(Window(), IDCANCEL), &cancel);
  MapWindowPoints(nullptr, Window(), reinterpret_cast<POINT*>(&cancel), 2);
  EXPECT_EQ(cancel.right, client.right - 4);
  EXPECT_EQ(cancel.right - cancel.left, client.right > 500 ? 90 : 60);
}

TEST_F(CalendarEditorTest, MonthAndYearCommandsMoveTheViewWithinTheCalendar) {
  Open();
  GoTo(1, 2000);
  struct Step {
    int command;
    const char* shown;
  };
  const Step steps[] = {
      {IDC_CALENDAR_EDITOR_NEXT_MONTH, "Feb "},
      {IDC_CALENDAR_EDITOR_PREVIOUS_MONTH, "Jan "},
      {IDM_CALENDAR_JANUARY + 11, "Dec "},
      {IDM_CALENDAR_NEXT_YEAR, ", 2001"},
      {IDM_CALENDAR_PRIOR_YEAR, ", 2000"},
  };
  for (const Step& step : steps) {
    Command(step.command);
    EXPECT_NE(DateButton().find(step.shown), std::string::npos) << step.shown << " " << DateButton();
    EXPECT_EQ(DateButton(), DateButtonText(editor_->CurrentDate()));
  }
  GoTo(12, 2019);
  const Date last = editor_->CurrentDate();
  Command(IDC_CALENDAR_EDITOR_NEXT_MONTH);
  Command(IDM_CALENDAR_NEXT_YEAR);
  EXPECT_EQ(editor_->CurrentDate(), last);
  GoTo(1, 1996);
  const Date first = editor_->CurrentDate();
  Command(IDC_CALENDAR_EDITOR_PREVIOUS_MONTH);
  Command(IDM_CALENDAR_PRIOR_YEAR);
  EXPECT_EQ(editor_->CurrentDate(), first);
  EXPECT_EQ(editor_->Grid().firstOffset, 1);  // 1 January 1996 was a Monday
}

TEST_F(CalendarEditorTest, TypedJournalIsSavedAndReadsBack) {
  Open();
  GoTo(3, 1998);
  ClickDay(10);
  EXPECT_EQ(editor_->CurrentDate(), (Date{10, 3, 1998}));
  EXPECT_EQ(DateButton(), "Mar 10, 1998");
  Type("Dentist \\ {at} ten");
  Command(IDM_CALENDAR_SAVE);
  EXPECT_FALSE(editor_->DocumentModified());
  const std::vector<JournalLine> lines = ParseJournalLines(SavedDay({10, 3, 1998}).journal);
  ASSERT_EQ(lines.size(), 1u);
  EXPECT_EQ(lines[0].text, "Dentist \\ {at} ten");
  // The saved file loads again, and the day shows the text in the editor.
  Command(IDC_CALENDAR_EDITOR_NEXT_MONTH);
  Command(IDC_CALENDAR_EDITOR_PREVIOUS_MONTH);
  ClickDay(10);
  EXPECT_EQ(WindowText(GetDlgItem(Window(), IDC_CALENDAR_EDITOR_JOURNAL)).find("Dentist \\ {at} ten"),
            0u);
  // The day went through the journal scratch file, exact header included
  // (written as text: line feeds as CR LF).
  std::string scratch = BuildJournalRtf(SavedDay({10, 3, 1998}).journal).document;
  for (size_t at = scratch.find('\n'); at != std::string::npos; at = scratch.find('\n', at + 2)) {
    scratch.insert(at, 1, '\r');
  }
  EXPECT_EQ(test::ReadBytes(editor_->Scratch().JournalPath()), scratch);
  const std::vector<std::string> temporary = {editor_->Scratch().JournalPath(),
                                              editor_->Scratch().SummaryPath(), editor_->BufferPath()};
  editor_.reset();
  for (const std::string& path : temporary) EXPECT_EQ(test::ReadBytes(path), "<missing>") << path;
}

TEST_F(CalendarEditorTest, EditingAStyledDayKeepsItsOtherLinesStyles) {
  const std::vector<SampleDay> sample = SampleCalendarDays();
  const SampleDay* styled = nullptr;
  for (const SampleDay& day : sample) {
    if (ParseJournalLines(day.texts.journal).size() >= 2) {
      styled = &day;
      break;
    }
  }
  ASSERT_NE(styled, nullptr);
  const std::vector<JournalLine> before = ParseJournalLines(styled->texts.journal);
  Open();
  GoTo(styled->date.month, styled->date.year);
  ClickDay(styled->date.day);
  HWND journal = GetDlgItem(Window(), IDC_CALENDAR_EDITOR_JOURNAL);
  SendMessageA(journal, EM_SETSEL, 0, 0);
  Type("X");
  Command(IDM_CALENDAR_SAVE);
  const DayTexts saved = SavedDay(styled->date);
  const std::vector<JournalLine> after = ParseJournalLines(saved.journal);
  ASSERT_EQ(after.size(), before.size());
  EXPECT_EQ(after[0].text, "X" + before[0].text);
  for (size_t i = 0; i < before.size(); ++i) {
    EXPECT_EQ(after[i].flags, before[i].flags) << i;
    EXPECT_EQ(after[i].color, before[i].color & 15) << i;
    if (i > 0) {
      EXPECT_EQ(after[i].text, before[i].text);
    }
  }
  EXPECT_EQ(saved.hours, styled->texts.hours);
  for (const SampleDay& day : sample) {
    if (day.date == styled->date) continue;
    EXPECT_EQ(SavedDay(day.date), day.texts) << day.date.day << "." << day.date.month;
  }
}

TEST_F(CalendarEditorTest, CtrlKeysStyleWholeLines) {
  Open();
  GoTo(4, 1999);
  ClickDay(12);
  Type("first line\rsecond line\rthird");
  HWND journal = GetDlgItem(Window(), IDC_CALENDAR_EDITOR_JOURNAL);
  const std::string text = WindowText(journal);
  const LONG second = static_cast<LONG>(text.find("second"));
  BYTE keys[256];
  GetKeyboardState(keys);
  keys[VK_CONTROL] = 0x80;
  SetKeyboardState(keys);
  struct Step {
    int key;
    LONG from, to;  // selection, relative to the start of "second line"
  };
  // Part of the second line bold; the second and third italic; Ctrl+B again
  // on the second line's end makes it plain.
  const Step steps[] = {{'B', 3, 6}, {'I', 2, 14}, {'U', 0, 0}, {'B', 10, 10}};
  for (const Step& step : steps) {
    SendMessageA(journal, EM_SETSEL, second + step.from, second + step.to);
    SendMessageA(journal, WM_KEYDOWN, step.key, 1);
    SendMessageA(journal, WM_CHAR, step.key - '@', 1);  // the Ctrl character is not typed
    SendMessageA(journal, WM_KEYUP, step.key, 1);
  }
  keys[VK_CONTROL] = 0;
  SetKeyboardState(keys);
  Command(IDM_CALENDAR_SAVE);
  const std::vector<JournalLine> lines = ParseJournalLines(SavedDay({12, 4, 1999}).journal);
  ASSERT_EQ(lines.size(), 3u);
  EXPECT_EQ(lines[0].text, "first line");
  EXPECT_EQ(lines[0].flags, 0);
  EXPECT_EQ(lines[1].text, "second line");
  EXPECT_EQ(lines[1].flags, kStyleItalic | kStyleUnderline);
  EXPECT_EQ(lines[2].text, "third");
  EXPECT_EQ(lines[2].flags, kStyleItalic);
}

TEST_F(CalendarEditorTest, OtherProgramsRecordsStayByteForByte) {
  // Records as another program writes them: CR LF and LF line ends, text
  // after the marker lines, a colour outside the table, hours and to-do texts.
  const std::string before =
      test::Record(0, 2, "1.0.0.0.0.0\r\nNew year\r\n", "36.1.0.0.0.0.0.0\nBrunch\n", "call home");
  const std::string edited = test::Record(68, 2, "2.0.20.0.0.0\rOld text\r", "52.0\rMeeting\r", "to do");
  std::string after = test::Record(69, 2, "0.0.3.0.0.0\rNext day\r\r", "", "");
  after.replace(after.find("[mJournal]."), 11, "[mJournal]. written elsewhere");
  after += test::Record(200, 2, "", "40.0.0.0.0.0.0.0\rOnly hours\r", "") +
           test::Record(150, 7, "8.0.9.0.0.0\rIn 2003\r", "", std::string(300, 't'));
  test::WriteBytes(calendarPath_, std::string(kCalendarSignature) + "\n" + before + edited + after);
  Open();
  GoTo(3, 1998);
  ClickDay(10);
  HWND journal = GetDlgItem(Window(), IDC_CALENDAR_EDITOR_JOURNAL);
  EXPECT_EQ(WindowText(journal).find("Old text"), 0u);
  SendMessageA(journal, EM_SETSEL, 0, 0);
  Type("New ");
  Command(IDM_CALENDAR_SAVE);
  const std::string saved = test::ReadBytes(calendarPath_);
  const std::string head = std::string(kCalendarSignature) + "\n" + before;
  EXPECT_EQ(saved.substr(0, head.size()), head);
  ASSERT_GE(saved.size(), head.size() + after.size());
  EXPECT_EQ(saved.substr(saved.size() - after.size()), after);
  const DayTexts day = SavedDay({10, 3, 1998});
  EXPECT_EQ(day.journal, "2.0.0.0.0.0\rNew Old text\r");  // colour 20 is black
  EXPECT_EQ(day.hours, "52.0\rMeeting\r");
  EXPECT_EQ(day.todo, "to do");
}

TEST_F(CalendarEditorTest, ScratchFileInTheWayIsReportedAndTheDayStillShows) {
  Open();
  GoTo(6, 2005);
  ClickDay(3);
  Type("first day");
  const std::string scratch = editor_->Scratch().JournalPath();
  DeleteFileA(scratch.c_str());
  CreateDirectoryA(scratch.c_str(), nullptr);
  HWND journal = GetDlgItem(Window(), IDC_CALENDAR_EDITOR_JOURNAL);
  for (int day : {4, 3}) {
    DialogAnswerer message("Orvalen", IDOK);
    ClickDay(day);
    EXPECT_EQ(message.Seen(), kJournalScratchMessage);
    // The day's own text, never the one the editor showed before.
    EXPECT_EQ(WindowText(journal).find("first day"), day == 3 ? 0 : std::string::npos);
  }
}

TEST_F(CalendarEditorTest, OversizedPasteIsRefused) {
  Open();
  GoTo(6, 2005);
  ClickDay(3);
  HWND journal = GetDlgItem(Window(), IDC_CALENDAR_EDITOR_JOURNAL);
  std::string lines;
  for (int i = 0; i < 1800; ++i) lines += "\r\n";
  SetWindowTextA(journal, lines.c_str());
  const int length = GetWindowTextLengthA(journal);
  BYTE keys[256];
  GetKeyboardState(keys);
  keys[VK_CONTROL] = 0x80;
  SetKeyboardState(keys);
  {
    DialogAnswerer message("error", IDOK);
    SendMessageA(journal, WM_KEYDOWN, 'V', 1);
    EXPECT_EQ(message.Seen(), kTooManyLinesMessage);
  }
  keys[VK_CONTROL] = 0;
  SetKeyboardState(keys);
  EXPECT_EQ(GetWindowTextLengthA(journal), length);
}

TEST_F(CalendarEditorTest, ZoomShowsTheDayAndOkTakesTheJournalBack) {
  Open();
  GoTo(3, 1998);
  ClickDay(10);
  Type("Before");
  struct Seen {
    std::string caption, columns;
    int editorWidth = 0, headerWidth = 0;
  } seen;
  std::thread user([&seen] {
    HWND zoom = nullptr;
    for (int i = 0; i < 500 && !zoom; ++i) {
      zoom = FindWindowA("#32770", "March, 10, 1998");
      if (!zoom) std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    if (!zoom) return;
    seen.caption = WindowText(zoom);
    HWND header = GetDlgItem(zoom, IDC_CALENDAR_ZOOM_HEADER);
    for (int i = 0; i < 2; ++i) {
      char name[32] = {};
      HDITEMA item{};
      item.mask = HDI_TEXT;
      item.pszText = name;
      item.cchTextMax = sizeof name;
      SendMessageA(header, HDM_GETITEMA, i, reinterpret_cast<LPARAM>(&item));
      seen.columns += std::string(name) + ";";
    }
    SendMessageA(zoom, WM_COMMAND, IDM_CALENDAR_ZOOM_JOURNAL, 0);
    HWND journal = GetDlgItem(zoom, IDC_CALENDAR_ZOOM_JOURNAL);
    RECT r{};
    GetWindowRect(journal, &r);
    seen.editorWidth = r.right - r.left;
    GetWindowRect(header, &r);
    seen.headerWidth = r.right - r.left;
    SendMessageA(journal, EM_SETSEL, 0, 0);
    SendMessageA(journal, WM_CHAR, 'Z', 1);
    PostMessageA(zoom, WM_COMMAND, IDOK, 0);
  });
  Command(IDC_CALENDAR_EDITOR_JOURNAL_ZOOM);
  user.join();
  EXPECT_EQ(seen.caption, "March, 10, 1998");
  EXPECT_EQ(seen.columns, "Journal;Appointments;");
  EXPECT_GT(seen.editorWidth, seen.headerWidth * 9 / 10);  // "&Maximize Journal"
  EXPECT_TRUE(editor_->DocumentModified());
  EXPECT_EQ(editor_->SelectedCell(), -1);
  EXPECT_FALSE(IsWindowVisible(GetDlgItem(Window(), IDC_CALENDAR_EDITOR_JOURNAL)));
  Command(IDM_CALENDAR_SAVE);
  const std::vector<JournalLine> lines = ParseJournalLines(SavedDay({10, 3, 1998}).journal);
  ASSERT_EQ(lines.size(), 1u);
  EXPECT_EQ(lines[0].text, "ZBefore");
}

TEST_F(CalendarEditorTest, ClosingWithChangesAsksAndCancelKeepsTheWindow) {
  Open();
  GoTo(6, 2005);
  ClickDay(3);
  Type("Unsaved");
  Command(IDC_CALENDAR_EDITOR_NEXT_MONTH);  // commits the day
  EXPECT_TRUE(editor_->DocumentModified());
  const std::string expected = calendarPath_ +
                               "\n\nFile has been modified\nDo you whish to save the changes?";
  {
    DialogAnswerer question("Orvalen", IDCANCEL);
    Command(IDCANCEL);
    EXPECT_EQ(question.Seen(), expected);
  }
  EXPECT_TRUE(IsWindow(Window()));
  calendarFile_.clear();
  {
    DialogAnswerer question("Orvalen", IDNO);
    Command(IDCANCEL);
    EXPECT_EQ(question.Seen(), expected);
  }
  EXPECT_FALSE(IsWindow(editor_->Handle()));
  EXPECT_EQ(calendarFile_, calendarPath_);
  EXPECT_TRUE(SavedDay({3, 6, 2005}).journal.empty());  // No: nothing written
}

TEST_F(CalendarEditorTest, BackupCopiesTheFileAndRefusesTheOpenOneAsTarget) {
  Open();
  {
    DialogAnswerer file("Create Backup File", IDOK, calendarPath_);
    DialogAnswerer replace("Create Backup File", IDYES);  // the dialog's overwrite question
    DialogAnswerer message("Orvalen", IDOK);
    Command(IDM_CALENDAR_BACKUP);
    EXPECT_EQ(message.Seen(),
              "Backup failed!\n\nPlease choose a different name\nfor the backup file");
  }
  const std::string backup = folder_.Path("copy.cal");
  {
    DialogAnswerer file("Create Backup File", IDOK, backup);
    DialogAnswerer message("Orvalen", IDOK);
    Command(IDM_CALENDAR_BACKUP);
    EXPECT_EQ(message.Seen(), "Backup is complete\n\n" + calendarPath_ + "\nwas copied to\n" +
                                  backup + "\n\nYou are currently editing this file:\n" +
                                  calendarPath_);
  }
  EXPECT_EQ(test::ReadBytes(backup), test::ReadBytes(calendarPath_));
  EXPECT_EQ(WindowText(Window()), calendarPath_);  // still editing the open file
}

TEST_F(CalendarEditorTest, NewFileGetsTheCalendarExtensionAndBecomesTheOpenFile) {
  Open();
  struct Case {
    const char* typed;
    const char* created;
  };
  for (const Case& c : {Case{"fresh.txt", "fresh.txt.cal"}, Case{"other.CAL", "other.CAL"}}) {
    {
      DialogAnswerer file("New", IDOK, folder_.Path(c.typed));
      Command(IDM_CALENDAR_NEW);
    }
    const std::string created = folder_.Path(c.created);
    EXPECT_EQ(WindowText(Window()), created);
    EXPECT_EQ(editor_->FilePath(), created);
    EXPECT_EQ(test::ReadBytes(created).substr(0, 11), "QMKO_CAL_35");
    EXPECT_EQ(profile_.values["Calendar MRU/MRU0"], created);
  }
  EXPECT_EQ(profile_.values["Calendar MRU/MRU1"], folder_.Path("fresh.txt.cal"));
}

TEST_F(CalendarEditorTest, MonthViewPaintsTheHeaderAndTheGlyphs) {
  Open();
  ShowWindow(Window(), SW_SHOWNOACTIVATE);
  RedrawWindow(Window(), nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW | RDW_ALLCHILDREN);
  Pump();
  const Rect header = editor_->Layout().Header();
  HDC dc = GetDC(Window());
  EXPECT_EQ(GetPixel(dc, header.left + 1, header.bottom - 2), RGB(0, 128, 128));
  EXPECT_EQ(GetPixel(dc, header.right - 2, header.top + 1), RGB(0, 128, 128));
  ReleaseDC(Window(), dc);
  // The next-month button shows its arrow glyph in the middle.
  HWND next = GetDlgItem(Window(), IDC_CALENDAR_EDITOR_NEXT_MONTH);
  RECT r{};
  GetClientRect(next, &r);
  HDC buttonDc = GetDC(next);
  int blue = 0;
  for (int y = 0; y < r.bottom; ++y) {
    for (int x = 0; x < r.right; ++x) blue += GetPixel(buttonDc, x, y) == RGB(40, 72, 176);
  }
  EXPECT_GE(blue, 30);  // the arrow's 36 pixels, some under the button's frame at most
  ReleaseDC(next, buttonDc);
}

// Another program holds the calendar file open while the user saves: opened
// the way the saver opens it (sharing delete), the file is replaced whole;
// opened without delete sharing, it cannot be replaced, and the save leaves
// it byte for byte as it was with the edit still in the editor.
TEST_F(CalendarEditorTest, SaveWhileAnotherProgramHoldsTheFile) {
  struct Case {
    const char* name;
    bool asTheSaver;  // opened by the saver's reader, or without delete sharing
    bool saved;
  };
  const Case cases[] = {
      {"held open as the saver holds it", true, true},
      {"held without delete sharing", false, false},
  };
  Open();
  GoTo(3, 1998);
  for (const Case& c : cases) {
    ClickDay(10);
    Type(c.name);
    const std::string before = test::ReadBytes(calendarPath_);
    SaverCalendar saver;
    KernelHandle other;
    if (c.asTheSaver) {
      ASSERT_TRUE(saver.Open(calendarPath_.c_str(), 1998, Win32FileAccess()));
    } else {
      other = KernelHandle(CreateFileA(calendarPath_.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                       nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
      ASSERT_TRUE(other);
    }
    std::string seen;
    {
      DialogAnswerer message("Orvalen", IDOK);
      Command(IDM_CALENDAR_SAVE);
      seen = message.Seen();
    }
    saver.Close();
    other = KernelHandle();
    EXPECT_EQ(editor_->DocumentModified(), !c.saved) << c.name;
    if (c.saved) {
      EXPECT_EQ(seen, "") << c.name;
      EXPECT_EQ(ParseJournalLines(SavedDay({10, 3, 1998}).journal).at(0).text.find(c.name), 0u);
    } else {
      EXPECT_NE(seen.find("could not be replaced"), std::string::npos) << seen;
      EXPECT_EQ(test::ReadBytes(calendarPath_), before) << c.name;
    }
    EXPECT_EQ(folder_.Listing(), "Sample.cal") << c.name;
  }
  // Once the other program lets go, the kept edit is saved.
  Command(IDM_CALENDAR_SAVE);
  EXPECT_FALSE(editor_->DocumentModified());
  EXPECT_EQ(ParseJournalLines(SavedDay({10, 3, 1998}).journal).at(0).text.find(cases[1].name), 0u);
}

// Files an interrupted save left beside the calendar may be the only good
// copy: a save never touches them, and a calendar missing while its
// set-aside copy is there opens from that copy.
TEST_F(CalendarEditorTest, LeftoversOfAnInterruptedSaveAreKept) {
  const std::string original = test::ReadBytes(calendarPath_);
  const std::string setAside = calendarPath_ + ".old~";
  const std::string written = calendarPath_ + ".sav~";
  test::WriteBytes(setAside, original);
  test::WriteBytes(written, "half a file");
  DeleteFileA(calendarPath_.c_str());
  Open();
  ASSERT_TRUE(editor_->FileOpen());
  EXPECT_EQ(test::ReadBytes(calendarPath_), original);
  test::WriteBytes(setAside, "an older copy");
  GoTo(3, 1998);
  ClickDay(10);
  Type("Saved");
  Command(IDM_CALENDAR_SAVE);
  EXPECT_FALSE(editor_->DocumentModified());
  EXPECT_EQ(ParseJournalLines(SavedDay({10, 3, 1998}).journal).at(0).text.find("Saved"), 0u);
  EXPECT_EQ(test::ReadBytes(setAside), "an older copy");
  EXPECT_EQ(test::ReadBytes(written), "half a file");
}

TEST_F(CalendarEditorTest, AltGrTypesItsCharactersAndCtrlStillStyles) {
  Open();
  GoTo(4, 1999);
  ClickDay(12);
  HWND journal = GetDlgItem(Window(), IDC_CALENDAR_EDITOR_JOURNAL);
  BYTE keys[256];
  GetKeyboardState(keys);
  struct Step {
    bool alt;
    int key;  // the key pressed with Ctrl (and Alt)
    char typed;  // the character it gives, 0 for none
  };
  // AltGr is Ctrl+Alt: "Q" gives "@" on a German keyboard, "8" gives "[".
  const Step steps[] = {{true, 'Q', '@'}, {true, '8', '['}, {false, 'B', 0}, {true, 'E', '\x80'}};
  for (const Step& step : steps) {
    keys[VK_CONTROL] = 0x80;
    keys[VK_MENU] = step.alt ? 0x80 : 0;
    SetKeyboardState(keys);
    SendMessageA(journal, WM_KEYDOWN, step.key, 1);
    SendMessageA(journal, WM_CHAR, step.typed ? static_cast<unsigned char>(step.typed) : step.key - '@', 1);
    SendMessageA(journal, WM_KEYUP, step.key, 1);
  }
  keys[VK_CONTROL] = 0;
  keys[VK_MENU] = 0;
  SetKeyboardState(keys);
  Command(IDM_CALENDAR_SAVE);
  const std::vector<JournalLine> lines = ParseJournalLines(SavedDay({12, 4, 1999}).journal);
  ASSERT_EQ(lines.size(), 1u);
  EXPECT_EQ(lines[0].text, "@[\x80");
  EXPECT_EQ(lines[0].flags, kStyleBold);
}

// The working buffer and the journal's scratch files go in the temporary
// folder under names of their own; when none can be made there, the editor
// says so and closes, and the program goes on.
TEST_F(CalendarEditorTest, TemporaryFilesLiveInTheTemporaryFolder) {
  char temp[MAX_PATH] = {};
  GetTempPathA(MAX_PATH, temp);
  Open();
  for (const std::string& path :
       {editor_->BufferPath(), editor_->Scratch().JournalPath(), editor_->Scratch().SummaryPath()}) {
    EXPECT_EQ(path.rfind(temp, 0), 0u) << path;
  }
  editor_.reset();

  const std::string missing = folder_.Path("no such folder");
  SetEnvironmentVariableA("TMP", missing.c_str());
  SetEnvironmentVariableA("TEMP", missing.c_str());
  std::string seen;
  {
    DialogAnswerer message("Orvalen", IDOK);
    editor_ = std::make_unique<TMwd>(
        CalendarEditorContext{&calendarFile_, &profile_, folder_.Root().string() + "\\"});
    editor_->CreateModeless(nullptr);
    seen = message.Seen();
  }
  SetEnvironmentVariableA("TMP", temp);
  SetEnvironmentVariableA("TEMP", temp);
  Pump();
  EXPECT_EQ(seen.find("Internal Error"), 0u) << seen;
  EXPECT_FALSE(IsWindow(editor_->Handle()));
  EXPECT_EQ(calendarFile_, calendarPath_);
  // The editor opens again once the temporary folder is there.
  Open();
  EXPECT_TRUE(editor_->FileOpen());
}

// Windows ending asks about unsaved changes as closing does: Cancel keeps
// Windows running; otherwise the session may end, and when it does the
// temporary files go.
TEST_F(CalendarEditorTest, EndingTheSessionAsksAndRemovesTheTemporaryFiles) {
  Open();
  GoTo(6, 2005);
  ClickDay(3);
  Type("Unsaved");
  Command(IDC_CALENDAR_EDITOR_NEXT_MONTH);  // commits the day
  struct Answer {
    int button;
    LRESULT mayEnd;
  };
  for (const Answer& answer : {Answer{IDCANCEL, FALSE}, Answer{IDNO, TRUE}}) {
    DialogAnswerer question("Orvalen", answer.button);
    EXPECT_EQ(SendMessageA(Window(), WM_QUERYENDSESSION, 0, 0), answer.mayEnd) << answer.button;
    EXPECT_NE(question.Seen().find("File has been modified"), std::string::npos) << answer.button;
  }
  const std::vector<std::string> temporary = {editor_->Scratch().JournalPath(), editor_->BufferPath()};
  for (const std::string& path : temporary) EXPECT_NE(test::ReadBytes(path), "<missing>") << path;
  SendMessageA(Window(), WM_ENDSESSION, TRUE, 0);
  for (const std::string& path : temporary) EXPECT_EQ(test::ReadBytes(path), "<missing>") << path;
}

}  // namespace
}  // namespace orvalen
