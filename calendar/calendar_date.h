#pragma once
// Gregorian date arithmetic and the English names the calendar views show.
#include <compare>

namespace orvalen {

struct Date {
  int day = 1;
  int month = 1;
  int year = 1996;
  friend bool operator==(const Date&, const Date&) = default;
  friend auto operator<=>(const Date& a, const Date& b) {
    if (auto c = a.year <=> b.year; c != 0) return c;
    if (auto c = a.month <=> b.month; c != 0) return c;
    return a.day <=> b.day;
  }
};

// The years a calendar file can hold.
constexpr int kFirstCalendarYear = 1996;
constexpr int kLastCalendarYear = 2019;

bool IsLeapYear(int year);
int DaysInYear(int year);
// 0 for a month outside 1..12.
int DaysInMonth(int month, int year);
bool IsValidDate(int day, int month, int year);
inline bool IsValidDate(const Date& d) { return IsValidDate(d.day, d.month, d.year); }
bool IsStorableYear(int year);

// Day of the year, 1 for 1 January; 0 for an invalid date.
int DayOfYear(int day, int month, int year);
inline int DayOfYear(const Date& d) { return DayOfYear(d.day, d.month, d.year); }
// The date of a 1-based day of the year; an out-of-range day gives 1 January.
Date DateFromDayOfYear(int dayOfYear, int year);

// 1 = Monday ... 7 = Sunday (the profile's numbering); 0 for an invalid date.
int Weekday(int day, int month, int year);
inline int Weekday(const Date& d) { return Weekday(d.day, d.month, d.year); }
// Column in a Sunday-first grid: 0 = Sunday ... 6 = Saturday; -1 for an invalid date.
int SundayColumn(int day, int month, int year);

// The date n days later (n may be negative), across month and year ends.
Date AddDays(const Date& date, int days);

// "January" ... "December" for 1..12, "" otherwise.
const char* MonthName(int month);
// "Monday" ... "Sunday" for 1..7, "" otherwise.
const char* WeekdayName(int weekday);

}  // namespace orvalen
