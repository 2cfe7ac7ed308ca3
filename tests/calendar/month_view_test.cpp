#include "calendar/month_view.h"

#include <gtest/gtest.h>

#include <string>

namespace orvalen {
namespace {

TEST(MonthGrid, DaysFollowTheFirstOffsetAndOverflowIntoTheFirstRow) {
  struct Case {
    int month, year;
    int firstOffset;
    int firstCell, lastDayCell;  // cells of day 1 and of the month's last day
  };
  const Case cases[] = {
      {2, 1996, 4, 5, 33},   // 29 days from a Thursday
      {8, 1998, 6, 7, 2},    // 31 days from a Saturday: 30th and 31st in cells 1 and 2
      {9, 2001, 6, 7, 1},    // 30 days from a Saturday: the 30th in cell 1
      {12, 2019, 0, 1, 31},  // from a Sunday
      {3, 2019, 5, 6, 1},    // 31 days from a Friday
  };
  for (const Case& c : cases) {
    const MonthGrid grid = BuildMonthGrid(c.month, c.year);
    SCOPED_TRACE(std::to_string(c.month) + "/" + std::to_string(c.year));
    EXPECT_EQ(grid.firstOffset, c.firstOffset);
    EXPECT_EQ(grid.Cell(c.firstCell), (Date{1, c.month, c.year}));
    const int last = DaysInMonth(c.month, c.year);
    EXPECT_EQ(grid.Cell(c.lastDayCell), (Date{last, c.month, c.year}));
    int days = 0;
    for (int n = 1; n <= kMonthCells; ++n) {
      if (!grid.HasDay(n)) {
        EXPECT_EQ(grid.Cell(n), kNoDay) << n;
        continue;
      }
      ++days;
      EXPECT_EQ(grid.CellOfDay(grid.Cell(n).day), n);
    }
    EXPECT_EQ(days, last);
  }
  EXPECT_FALSE(BuildMonthGrid(2, 1996).HasDay(4));
  EXPECT_FALSE(BuildMonthGrid(2, 1996).HasDay(34));
  EXPECT_EQ(BuildMonthGrid(2, 1996).CellOfDay(30), 0);
}

TEST(MonthNavigation, MovesKeepTheDayWhenTheyCanAndStopAtTheCalendarsEnds) {
  struct Case {
    const char* move;
    Date (*apply)(const Date&);
    Date from, to;
  };
  const Case cases[] = {
      {"next month", NextMonth, {31, 3, 2001}, {30, 4, 2001}},
      {"next month", NextMonth, {31, 1, 2000}, {29, 2, 2000}},
      {"next month", NextMonth, {31, 1, 1999}, {28, 2, 1999}},
      {"next month", NextMonth, {15, 12, 1998}, {15, 1, 1999}},
      {"next month", NextMonth, {31, 12, 2019}, {31, 12, 2019}},
      {"previous month", PreviousMonth, {31, 3, 1997}, {28, 2, 1997}},
      {"previous month", PreviousMonth, {31, 5, 2003}, {30, 4, 2003}},
      {"previous month", PreviousMonth, {10, 1, 1997}, {10, 12, 1996}},
      {"previous month", PreviousMonth, {20, 1, 1996}, {20, 1, 1996}},
      {"next year", NextYear, {1, 3, 1999}, {29, 2, 2000}},
      {"next year", NextYear, {31, 12, 2018}, {31, 12, 2019}},
      {"next year", NextYear, {1, 1, 2019}, {1, 1, 2019}},
      {"previous year", PreviousYear, {1, 1, 1997}, {2, 1, 1996}},
      {"previous year", PreviousYear, {1, 3, 2001}, {1, 3, 2000}},
      {"previous year", PreviousYear, {31, 12, 1996}, {31, 12, 1996}},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(c.apply(c.from), c.to) << c.move << " from " << c.from.day << "." << c.from.month
                                     << "." << c.from.year;
  }
}

TEST(MonthNavigation, MonthMenuKeepsTheDayOrFallsBackToTheFirst) {
  EXPECT_EQ(ChooseMonth({31, 1, 1999}, 4), (Date{1, 4, 1999}));
  EXPECT_EQ(ChooseMonth({29, 3, 2000}, 2), (Date{29, 2, 2000}));
  EXPECT_EQ(ChooseMonth({29, 3, 2001}, 2), (Date{1, 2, 2001}));
  EXPECT_EQ(ChooseMonth({15, 6, 2010}, 12), (Date{15, 12, 2010}));
  EXPECT_EQ(ChooseMonth({15, 6, 2010}, 13), (Date{15, 6, 2010}));
  const Date today{8, 12, 2026};
  EXPECT_EQ(ClampToCalendar({8, 12, 2026}, {3, 3, 2003}), (Date{3, 3, 2003}));
  EXPECT_EQ(ClampToCalendar({31, 12, 1995}, today), today);
  EXPECT_EQ(ClampToCalendar({30, 2, 2000}, today), today);
  EXPECT_EQ(ClampToCalendar({1, 1, 1996}, today), (Date{1, 1, 1996}));
  EXPECT_EQ(CalendarStartDate({8, 12, 2026}), (Date{8, 12, 2019}));
  EXPECT_EQ(CalendarStartDate({29, 2, 2024}), (Date{28, 2, 2019}));
  EXPECT_EQ(CalendarStartDate({29, 2, 1992}), (Date{29, 2, 1996}));
  EXPECT_EQ(CalendarStartDate({3, 7, 2005}), (Date{3, 7, 2005}));
}

TEST(MonthView, DateAndWeekdayTexts) {
  EXPECT_EQ(DateButtonText({15, 1, 1998}), "Jan 15, 1998");
  EXPECT_EQ(DateButtonText({1, 9, 2019}), "Sep 1, 2019");
  EXPECT_EQ(WeekdayHeader(0, 500), "Sunday");
  EXPECT_EQ(WeekdayHeader(6, 800), "Saturday");
  EXPECT_EQ(WeekdayHeader(3, 499), "Wed");
  EXPECT_EQ(WeekdayHeader(0, 499), "Sun");
  EXPECT_EQ(WeekdayHeader(7, 800), "");
}

TEST(MonthLayout, ButtonsCellsAndMarginFollowTheClientSize) {
  struct Case {
    int width, height;
    int button, cellWidth, cellHeight, margin;
  };
  // The margin starts at 5 and each size is computed from the margin before,
  // so the same 800 x 600 gives other cells after 805 x 600 than when fresh.
  const Case cases[] = {
      {805, 600, 90, 111, 105, 7},  // (805-10-12)/7, (600-5-68)/5, (805-777-14)/2
      {800, 600, 90, 110, 105, 8},  // (800-14-12)/7, (600-7-68)/5, (800-770-14)/2
      {800, 600, 90, 110, 104, 8},
      {501, 400, 90, 67, 64, 9},
      {500, 400, 60, 67, 64, 8},
      {480, 350, 60, 64, 54, 9},
  };
  MonthLayout layout;
  for (const Case& c : cases) {
    layout.Resize(c.width, c.height);
    SCOPED_TRACE(std::to_string(c.width) + "x" + std::to_string(c.height));
    EXPECT_EQ(layout.ButtonWidth(), c.button);
    EXPECT_EQ(layout.CellWidth(), c.cellWidth);
    EXPECT_EQ(layout.CellHeight(), c.cellHeight);
    EXPECT_EQ(layout.Margin(), c.margin);
    EXPECT_EQ(layout.CancelButton(), (Rect{c.width - c.button - 4, 5, c.width - 4, 30}));
    EXPECT_EQ(layout.OkButton().right, layout.CancelButton().left - 2);
    EXPECT_EQ(layout.OkButton().Width(), c.button);
  }
}

TEST(MonthLayout, CellsAndHitsAgree) {
  MonthLayout layout;
  layout.Resize(800, 600);  // margin 4, cells 111 x 105
  EXPECT_EQ(layout.CellRect(1), (Rect{6, 60, 117, 165}));
  EXPECT_EQ(layout.CellRect(7), (Rect{6 + 6 * 113, 60, 6 + 6 * 113 + 111, 165}));
  EXPECT_EQ(layout.CellRect(8), (Rect{6, 167, 117, 272}));
  EXPECT_EQ(layout.CellRect(35).top, 60 + 4 * 107);
  EXPECT_EQ(layout.EditorRect(8), (Rect{11, 167 + 16, 11 + 107, 167 + 16 + 105 - 17}));
  for (int cell = 1; cell <= kMonthCells; ++cell) {
    const Rect r = layout.CellRect(cell);
    EXPECT_EQ(layout.HitCell(r.left + 3, r.top + 3), cell);
    EXPECT_EQ(layout.HitCell(r.right - 1, r.bottom - 1), cell);
  }
  const int right = 4 + 7 * 113;
  const int bottom = 60 + 5 * 107;
  EXPECT_EQ(layout.HitCell(3, 100), 0);
  EXPECT_EQ(layout.HitCell(right + 1, 100), 0);
  EXPECT_EQ(layout.HitCell(right, 100), 0);   // the right edge is no eighth column
  EXPECT_EQ(layout.HitCell(50, bottom), 0);   // nor the bottom edge a sixth row
  EXPECT_EQ(layout.HitCell(50, 59), 0);
  EXPECT_EQ(layout.HitCell(50, bottom + 1), 0);
  EXPECT_EQ(layout.Header(), (Rect{6, 36, 800 - 4 + 1, 56}));
}

TEST(MonthLayout, StoredPlacementIsUsedOnlyWhenItFitsTheWorkArea) {
  const Rect work{0, 0, 1000, 800};
  const Rect whole{0, 0, 1000, 800 - 20};
  struct Case {
    const char* stored;
    Rect expected;
  };
  const Case cases[] = {
      {"10,20,600,500", {10, 20, 610, 520}},
      {"500,400,500,400", {500, 400, 1000, 800}},  // at the middle, half the size
      {"", whole},                                   // the default starts at -4
      {"-1,0,600,500", whole},
      {"10,20,1001,500", whole},
      {"501,20,600,500", whole},
      {"10,401,600,500", whole},
      {"10,20,499,500", whole},
      {"10,20,600,399", whole},
      {"10,20", {10, 20, 1010, 820}},                // the work area's width and height fill in
      {"garbage", whole},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(EditorPlacement(c.stored, work, 20), c.expected) << c.stored;
  }
}

}  // namespace
}  // namespace orvalen
