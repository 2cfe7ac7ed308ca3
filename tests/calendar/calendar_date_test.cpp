#include "calendar/calendar_date.h"

#include <gtest/gtest.h>

#include <string>

namespace orvalen {
namespace {

TEST(CalendarDate, LeapYearsFollowTheGregorianRule) {
  EXPECT_TRUE(IsLeapYear(1996));
  EXPECT_FALSE(IsLeapYear(1997));
  EXPECT_TRUE(IsLeapYear(2000));  // divisible by 400
  EXPECT_FALSE(IsLeapYear(1900));
  EXPECT_FALSE(IsLeapYear(2100));
  EXPECT_EQ(DaysInMonth(2, 1996), 29);
  EXPECT_EQ(DaysInMonth(2, 2019), 28);
  EXPECT_EQ(DaysInMonth(2, 2000), 29);
  EXPECT_EQ(DaysInMonth(4, 2019), 30);
  EXPECT_EQ(DaysInMonth(12, 2019), 31);
  EXPECT_EQ(DaysInMonth(0, 2019), 0);
  EXPECT_EQ(DaysInMonth(13, 2019), 0);
}

TEST(CalendarDate, DayOfYearAgreesWithCountingDaysOverTheWholeRange) {
  for (int year = kFirstCalendarYear; year <= kLastCalendarYear; ++year) {
    int counted = 0;
    for (int month = 1; month <= 12; ++month) {
      for (int day = 1; day <= DaysInMonth(month, year); ++day) {
        ++counted;
        ASSERT_EQ(DayOfYear(day, month, year), counted) << day << "." << month << "." << year;
        const Date back = DateFromDayOfYear(counted, year);
        ASSERT_EQ(back, (Date{day, month, year}));
      }
    }
    EXPECT_EQ(counted, DaysInYear(year));
  }
  EXPECT_EQ(DayOfYear(15, 1, 1998), 15);
  EXPECT_EQ(DayOfYear(31, 12, 1996), 366);
  EXPECT_EQ(DayOfYear(1, 3, 1996), 61);
  EXPECT_EQ(DayOfYear(1, 3, 1997), 60);
}

TEST(CalendarDate, InvalidDatesHaveNoDayOfYearOrWeekday) {
  EXPECT_EQ(DayOfYear(29, 2, 2019), 0);
  EXPECT_EQ(DayOfYear(0, 1, 2019), 0);
  EXPECT_EQ(DayOfYear(32, 1, 2019), 0);
  EXPECT_EQ(DayOfYear(1, 0, 2019), 0);
  EXPECT_EQ(Weekday(31, 4, 2019), 0);
  EXPECT_EQ(SundayColumn(31, 4, 2019), -1);
  EXPECT_EQ(DateFromDayOfYear(366, 2019), (Date{1, 1, 2019}));
  EXPECT_EQ(DateFromDayOfYear(366, 2020), (Date{31, 12, 2020}));
}

TEST(CalendarDate, WeekdaysOfKnownDates) {
  EXPECT_EQ(Weekday(1, 1, 1996), 1);    // Monday
  EXPECT_EQ(Weekday(1, 2, 1996), 4);    // February 1996 starts on a Thursday
  EXPECT_EQ(Weekday(1, 9, 2019), 7);    // Sunday
  EXPECT_EQ(Weekday(31, 12, 2019), 2);  // Tuesday
  EXPECT_EQ(Weekday(29, 2, 2000), 2);
  EXPECT_EQ(Weekday(1, 1, 1900), 1);
  EXPECT_EQ(SundayColumn(1, 9, 2019), 0);  // a month starting on a Sunday: first column
  EXPECT_EQ(SundayColumn(1, 2, 1996), 4);
  EXPECT_EQ(SundayColumn(1, 6, 2019), 6);  // Saturday: last column
  // Consecutive days walk through the week.
  Date d{1, 1, 1996};
  for (int i = 0; i < 9000; ++i, d = AddDays(d, 1)) ASSERT_EQ(Weekday(d), i % 7 + 1);
}

TEST(CalendarDate, AddDaysCrossesMonthAndYearEnds) {
  EXPECT_EQ(AddDays(Date{27, 12, 2019}, 9), (Date{5, 1, 2020}));
  EXPECT_EQ(AddDays(Date{28, 2, 1996}, 1), (Date{29, 2, 1996}));
  EXPECT_EQ(AddDays(Date{28, 2, 1997}, 1), (Date{1, 3, 1997}));
  EXPECT_EQ(AddDays(Date{1, 3, 1999}, 365), (Date{29, 2, 2000}));
  EXPECT_EQ(AddDays(Date{1, 1, 1996}, -1), (Date{31, 12, 1995}));
  EXPECT_EQ(AddDays(Date{15, 6, 2010}, 0), (Date{15, 6, 2010}));
  EXPECT_EQ(AddDays(Date{1, 1, 1996}, 8765), (Date{31, 12, 2019}));
}

TEST(CalendarDate, NamesAndStorableYears) {
  EXPECT_STREQ(MonthName(1), "January");
  EXPECT_STREQ(MonthName(9), "September");
  EXPECT_STREQ(MonthName(12), "December");
  EXPECT_STREQ(MonthName(0), "");
  EXPECT_STREQ(MonthName(13), "");
  EXPECT_STREQ(WeekdayName(1), "Monday");
  EXPECT_STREQ(WeekdayName(3), "Wednesday");
  EXPECT_STREQ(WeekdayName(7), "Sunday");
  EXPECT_STREQ(WeekdayName(0), "");
  EXPECT_STREQ(WeekdayName(8), "");
  EXPECT_FALSE(IsStorableYear(1995));
  EXPECT_TRUE(IsStorableYear(1996));
  EXPECT_TRUE(IsStorableYear(2019));
  EXPECT_FALSE(IsStorableYear(2020));
}

}  // namespace
}  // namespace orvalen
