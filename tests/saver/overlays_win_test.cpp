// The overlays drawn beside the picture, read back from the screen: each text
// is drawn again, in the same font and colour, into a memory bitmap on black
// and compared pixel for pixel with the screen at the place it belongs.
#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

#include "calendar/calendar_buffer.h"
#include "calendar/calendar_date.h"
#include "saver/process_state.h"
#include "saver/saver_window_win.h"
#include "tests/saver/saver_fixture_win_helpers.h"
#include "tests/support/canvas_win.h"

namespace orvalen {
namespace {

using namespace orvalen::saver_test;

constexpr COLORREF kDateTimeColor = RGB(120, 110, 100);
constexpr COLORREF kRunTimeColor = RGB(100, 90, 80);
constexpr COLORREF kMonthColor = RGB(100, 100, 100);
constexpr COLORREF kPanelColor = RGB(210, 205, 200);

struct Look {
  COLORREF color;
  int weight = FW_BOLD;
  int height = 12;
  const char* face = "MS Sans Serif";
  bool italic = false;
  bool underline = false;
  bool strikeOut = false;
};

HFONT MakeFont(const Look& look) {
  return CreateFontA(look.height, 0, 0, 0, look.weight, look.italic, look.underline, look.strikeOut, DEFAULT_CHARSET,
                     OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, DEFAULT_PITCH | FF_DONTCARE, look.face);
}

using test_support::Canvas;

SIZE Extent(const std::string& text, const Look& look) {
  Canvas scratch(1, 1);
  HFONT font = MakeFont(look);
  HGDIOBJ old = SelectObject(scratch.Dc(), font);
  SIZE size{};
  GetTextExtentPoint32A(scratch.Dc(), text.c_str(), static_cast<int>(text.size()), &size);
  SelectObject(scratch.Dc(), old);
  DeleteObject(font);
  return size;
}

// How the screen compares with texts drawn on black over an area.
struct TextCheck {
  int inkPixels = 0;   // pixels of the expected texts that are not black
  int mismatches = 0;  // pixels where the screen differs from them
};

struct Piece {
  int x, y;  // in the window
  std::string text;
  Look look;
};

TextCheck CheckArea(HWND window, const RECT& area, const std::vector<Piece>& pieces) {
  const int width = area.right - area.left;
  const int height = area.bottom - area.top;
  Canvas expected(width, height);
  SetBkMode(expected.Dc(), TRANSPARENT);
  SetTextAlign(expected.Dc(), TA_LEFT | TA_TOP);
  for (const Piece& piece : pieces) {
    HFONT font = MakeFont(piece.look);
    HGDIOBJ old = SelectObject(expected.Dc(), font);
    SetTextColor(expected.Dc(), piece.look.color);
    TextOutA(expected.Dc(), piece.x - area.left, piece.y - area.top, piece.text.c_str(),
             static_cast<int>(piece.text.size()));
    SelectObject(expected.Dc(), old);
    DeleteObject(font);
  }

  Canvas screen(width, height);
  HDC windowDc = GetDC(window);
  BitBlt(screen.Dc(), 0, 0, width, height, windowDc, area.left, area.top, SRCCOPY);
  ReleaseDC(window, windowDc);

  TextCheck check;
  for (int y = 0; y < height; ++y) {
    for (int x = 0; x < width; ++x) {
      if (expected.At(x, y) != 0) ++check.inkPixels;
      if (expected.At(x, y) != screen.At(x, y)) ++check.mismatches;
    }
  }
  return check;
}

// The screen at (left, top), over the text's extent, against the text.
TextCheck CheckText(HWND window, int left, int top, const std::string& text, const Look& look) {
  const SIZE size = Extent(text, look);
  return CheckArea(window, RECT{left, top, left + size.cx, top + size.cy}, {Piece{left, top, text, look}});
}

#define EXPECT_TEXT_AT(window, x, y, text, look)                                  \
  do {                                                                            \
    const TextCheck check_ = CheckText(window, x, y, text, look);                 \
    EXPECT_GT(check_.inkPixels, 0) << "\"" << (text) << "\"";                     \
    EXPECT_EQ(check_.mismatches, 0) << "\"" << (text) << "\" at " << x << "," << y; \
  } while (0)

class OverlayTest : public SaverFixture {
 protected:
  void TearDown() override {
    SaverFixture::TearDown();
    if (!calendarPath_.empty()) std::remove(calendarPath_.c_str());
  }

  // A black background, so that transparent texts lie on black too.
  void StartWithOverlays(const std::string& settings, const std::string& moreSections = "") {
    WriteProfile("DRAW_CALENDAR=1\r\nUSE_COLOR_RGB=0,0,0\r\nVALUE_DELAY=1\r\n" + settings, {imagePath_}, moreSections);
    StartFullScreen(true);
  }

  void WriteCalendar(const std::vector<std::pair<Date, DayTexts>>& days) {
    calendarPath_ = TempPath("orvalen_overlay_test.cal");
    CalendarWorkBuffer buffer(TempPath("orvalen_overlay_test.~"));
    ASSERT_EQ(buffer.CreateNew(calendarPath_), CalendarResult::kOk);
    for (const auto& [date, texts] : days) ASSERT_EQ(buffer.AppendDay(date, texts), CalendarResult::kOk);
    ASSERT_EQ(buffer.Save(calendarPath_), CalendarResult::kOk);
  }

  HWND Window() const { return saver_->Handle(); }
  int Y0() const { return saver_->CalendarBand().bottom + 28; }
  int MonthX() const { return saver_->ScreenRect().Width() - 140; }
  int MonthY() const { return saver_->CalendarBand().bottom + 2; }
  int PanelX() const { return saver_->TextPanel().left + 2; }
  int PanelY() const { return saver_->TextPanel().top + 2; }

  std::string calendarPath_;
};

TEST_F(OverlayTest, TimeOfDayOnATwelveHourClock) {
  clock_.now = LocalTime{2019, 3, 4, 12, 5};
  StartWithOverlays("");
  EXPECT_TEXT_AT(Window(), 0, Y0() + 28, "12:05 PM", Look{kDateTimeColor});
  // The check tells the two apart.
  EXPECT_GT(CheckText(Window(), 0, Y0() + 28, "12:05 AM", Look{kDateTimeColor}).mismatches, 0);

  clock_.now = LocalTime{2019, 3, 4, 0, 5};
  clock_.ticks += 1000;
  WaitForWorker();
  saver_->Step();
  EXPECT_TEXT_AT(Window(), 0, Y0() + 28, "12:05 AM", Look{kDateTimeColor});
}

TEST_F(OverlayTest, DateBesideTheDayNumber) {
  clock_.now = LocalTime{2019, 3, 4, 9, 30};
  StartWithOverlays("");
  const Look dayLook{kDateTimeColor, 800, 30, "Arial"};
  EXPECT_TEXT_AT(Window(), 0, Y0() - 4, "4", dayLook);
  const int x = Extent("4", dayLook).cx + 1;
  EXPECT_TEXT_AT(Window(), x, Y0(), "Monday", Look{kDateTimeColor});
  EXPECT_TEXT_AT(Window(), x, Y0() + 12, "March 2019", Look{kDateTimeColor});
}

TEST_F(OverlayTest, RunTimesOfWindowsAndOfTheSaver) {
  // Windows has run 25 hours and 3 minutes when the picture is drawn; the
  // saver started 59 seconds before.
  const uint32_t drawnAt = (25 * 60 + 3) * 60000u;
  clock_.ticks = drawnAt - 59000;
  StartWithOverlays("SHOW_WINDOWSRUNTIME=1\r\n");
  clock_.ticks = drawnAt;
  WaitForWorker();
  saver_->Step();
  const int band = saver_->CalendarBand().bottom;
  EXPECT_TEXT_AT(Window(), 0, band + 2, "Windows: 1 day, 1 hr, 3 min", Look{kRunTimeColor});
  EXPECT_TEXT_AT(Window(), 0, band + 14, "Saver: 0 min", Look{kRunTimeColor});
}

TEST_F(OverlayTest, AMonthStartingOnSundayBeginsInTheFirstColumn) {
  clock_.now = LocalTime{2019, 9, 17, 10, 0};  // 1 September 2019 is a Sunday
  StartWithOverlays("");
  const int cw = 140 / 7;
  EXPECT_TEXT_AT(Window(), MonthX(), MonthY(), "September 2019", Look{kMonthColor});
  EXPECT_TEXT_AT(Window(), MonthX(), MonthY() + 18, "S", Look{kMonthColor});
  EXPECT_TEXT_AT(Window(), MonthX() + cw, MonthY() + 18, "M", Look{kMonthColor});
  EXPECT_TEXT_AT(Window(), MonthX(), MonthY() + 34, "1", (Look{kMonthColor, FW_NORMAL}));
  EXPECT_TEXT_AT(Window(), MonthX() + 6 * cw, MonthY() + 34, "7", (Look{kMonthColor, FW_NORMAL}));
  EXPECT_TEXT_AT(Window(), MonthX(), MonthY() + 34 + 13, "8", (Look{kMonthColor, FW_NORMAL}));
  // Today, Tuesday the 17th, in bold.
  EXPECT_TEXT_AT(Window(), MonthX() + 2 * cw, MonthY() + 34 + 2 * 13, "17", Look{kMonthColor});
  EXPECT_TEXT_AT(Window(), MonthX() + cw, MonthY() + 34 + 4 * 13, "30", (Look{kMonthColor, FW_NORMAL}));
  // The rules under the title and under the initials, 6.5 columns long.
  HDC dc = GetDC(Window());
  SIZE s{};
  {
    HFONT font = MakeFont(Look{kMonthColor});
    HGDIOBJ old = SelectObject(dc, font);
    GetTextExtentPoint32A(dc, "S", 1, &s);
    SelectObject(dc, old);
    DeleteObject(font);
  }
  for (int ruleY : {MonthY() + 16, MonthY() + static_cast<int>(s.cy) + 19}) {
    EXPECT_EQ(GetPixel(dc, MonthX(), ruleY), kMonthColor);
    EXPECT_EQ(GetPixel(dc, MonthX() + 129, ruleY), kMonthColor);
    EXPECT_EQ(GetPixel(dc, MonthX() + 130, ruleY), RGB(0, 0, 0));
  }
  ReleaseDC(Window(), dc);
}

TEST_F(OverlayTest, LeapFebruaryShowsTheTwentyNinth) {
  clock_.now = LocalTime{2016, 2, 10, 10, 0};  // 1 February 2016 is a Monday
  StartWithOverlays("");
  const int cw = 140 / 7;
  EXPECT_TEXT_AT(Window(), MonthX() + cw, MonthY() + 34, "1", (Look{kMonthColor, FW_NORMAL}));
  EXPECT_TEXT_AT(Window(), MonthX() + cw, MonthY() + 34 + 4 * 13, "29", (Look{kMonthColor, FW_NORMAL}));
  EXPECT_TEXT_AT(Window(), MonthX() + 3 * cw, MonthY() + 34 + 13, "10", Look{kMonthColor});
  // No 30th after it.
  const TextCheck after = CheckText(Window(), MonthX() + 2 * cw, MonthY() + 34 + 4 * 13, "30", Look{kMonthColor});
  EXPECT_GT(after.mismatches, 0);
}

TEST_F(OverlayTest, TheTextsOfANewDayReplaceTheOld) {
  clock_.now = LocalTime{2019, 12, 31, 23, 59};
  StartWithOverlays("");
  const int cw = 140 / 7;
  const Look dayLook{kDateTimeColor, 800, 30, "Arial"};
  EXPECT_TEXT_AT(Window(), 0, Y0() - 4, "31", dayLook);
  EXPECT_TEXT_AT(Window(), MonthX() + 2 * cw, MonthY() + 34 + 4 * 13, "31", Look{kMonthColor});
  const int oldDayWidth = Extent("31", dayLook).cx;
  const int oldWeekdayX = oldDayWidth + 1;
  const int oldWeekdayWidth = Extent("Tuesday", Look{kDateTimeColor}).cx;
  const int oldMonthWidth = Extent("December 2019", Look{kDateTimeColor}).cx;

  clock_.now = LocalTime{2020, 1, 1, 0, 1};
  clock_.ticks += 1000;
  WaitForWorker();
  saver_->Step();
  // The date and time block holds the new texts alone: nothing is left of
  // the longer ones before.
  const Look text{kDateTimeColor};
  const int weekdayX = Extent("1", dayLook).cx + 1;
  const RECT block{0, Y0() - 4, oldWeekdayX + std::max(oldWeekdayWidth, oldMonthWidth), Y0() + 40};
  const TextCheck check = CheckArea(Window(), block,
                                    {Piece{0, Y0() - 4, "1", dayLook}, Piece{weekdayX, Y0(), "Wednesday", text},
                                     Piece{weekdayX, Y0() + 12, "January 2020", text},
                                     Piece{0, Y0() + 28, "12:01 AM", text}});
  EXPECT_GT(check.inkPixels, 0);
  EXPECT_EQ(check.mismatches, 0);
  EXPECT_TEXT_AT(Window(), MonthX(), MonthY(), "January 2020", Look{kMonthColor});
  // Where the bold 31st of December stood, the 28th of January alone.
  EXPECT_TEXT_AT(Window(), MonthX() + 2 * cw, MonthY() + 34 + 4 * 13, "28", (Look{kMonthColor, FW_NORMAL}));
  EXPECT_TEXT_AT(Window(), MonthX() + 3 * cw, MonthY() + 34, "1", Look{kMonthColor});
}

TEST_F(OverlayTest, PanelShowsTheJournalAndAppointmentsOfTheShownDay) {
  WriteCalendar({
      {Date{4, 3, 2019}, DayTexts{"0.0.0.0.0.0\nPlain line\n2.0.0.0.0.0\nItalic line\n12.0.0.0.0.0\nStruck and underlined\n",
                                  "37.0.0.0.0.0.0.0\nDentist\n", ""}},
  });
  clock_.now = LocalTime{2019, 3, 4, 8, 0};
  StartWithOverlays("USE_CALENDAR_FILE=1\r\nCALENDAR_FILENAME=" + calendarPath_ + "\r\n");
  const int x = PanelX();
  const int y = PanelY();
  EXPECT_TEXT_AT(Window(), x, y, "Monday, March 4, 2019:", Look{kPanelColor});
  EXPECT_TEXT_AT(Window(), x, y + 25, "Plain line", Look{kPanelColor});
  Look italic{kPanelColor};
  italic.italic = true;
  EXPECT_TEXT_AT(Window(), x, y + 25 + 14, "Italic line", italic);
  Look struck{kPanelColor};
  struck.underline = true;
  struck.strikeOut = true;
  EXPECT_TEXT_AT(Window(), x, y + 25 + 28, "Struck and underlined", struck);
  EXPECT_TEXT_AT(Window(), x, y + 25 + 42, "9:15 AM: Dentist", Look{kPanelColor});
}

TEST_F(OverlayTest, WithoutARecordThePanelShowsTheDefaultText) {
  WriteCalendar({{Date{5, 3, 2019}, DayTexts{"0.0.0.0.0.0\nAnother day\n", "", ""}}});
  clock_.now = LocalTime{2019, 3, 4, 8, 0};
  StartWithOverlays("USE_CALENDAR_FILE=1\r\nCALENDAR_FILENAME=" + calendarPath_ + "\r\n",
                    "[ImageText]\r\ni0=The lake\r\n[DefaultText]\r\n1=Start of the week\r\n");
  EXPECT_TEXT_AT(Window(), PanelX(), PanelY(), "The lake", Look{kPanelColor});
  EXPECT_TEXT_AT(Window(), PanelX(), PanelY() + Extent("The lake", Look{kPanelColor}).cy, "Start of the week",
                 Look{kPanelColor});
}

TEST_F(OverlayTest, NinthDayAheadInLateDecemberIsLookedUpInThisYearsIndex) {
  // From 28 December 2019 the tenth picture shows 6 January 2020, a Monday;
  // its text comes from day 6 of the 2019 index.
  WriteCalendar({
      {Date{6, 1, 2019}, DayTexts{"0.0.0.0.0.0\nSixth day of the year\n", "", ""}},
      {Date{28, 12, 2019}, DayTexts{"0.0.0.0.0.0\nToday's entry\n", "", ""}},
  });
  clock_.now = LocalTime{2019, 12, 28, 20, 0};
  StartWithOverlays("USE_CALENDAR_FILE=1\r\nCALENDAR_FILENAME=" + calendarPath_ + "\r\n");
  EXPECT_TEXT_AT(Window(), PanelX(), PanelY(), "Saturday, December 28, 2019:", Look{kPanelColor});
  EXPECT_TEXT_AT(Window(), PanelX(), PanelY() + 25, "Today's entry", Look{kPanelColor});
  for (int step = 1; step <= 9; ++step) NextStep();
  EXPECT_EQ(saver_->DayShift(), 0);  // wrapped after showing day 9
  EXPECT_TEXT_AT(Window(), PanelX(), PanelY(), "Monday, January 6, 2020:", Look{kPanelColor});
  EXPECT_TEXT_AT(Window(), PanelX(), PanelY() + 25, "Sixth day of the year", Look{kPanelColor});
  // The date and the month calendar still show today.
  EXPECT_TEXT_AT(Window(), MonthX(), MonthY(), "December 2019", Look{kMonthColor});
}

TEST_F(OverlayTest, AnUnreadableCalendarIsClearedFromTheProfile) {
  StartWithOverlays("USE_CALENDAR_FILE=1\r\nCALENDAR_FILENAME=" + TempPath("orvalen_no_such.cal") + "\r\n");
  char value[64] = "unchanged";
  GetPrivateProfileStringA("Settings", "CALENDAR_FILENAME", "missing", value, sizeof value, profilePath_.c_str());
  EXPECT_STREQ(value, "");
}

}  // namespace
}  // namespace orvalen
