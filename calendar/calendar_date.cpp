#include "calendar/calendar_date.h"

namespace orvalen {
namespace {

// Days from 1 March of year 0 style civil counting (proleptic Gregorian);
// only differences of these numbers are used.
long long DaysFromCivil(int day, int month, int year) {
  long long y = static_cast<long long>(year) - (month <= 2 ? 1 : 0);
  const long long era = (y >= 0 ? y : y - 399) / 400;
  const long long yoe = y - era * 400;
  const long long mp = (month + 9) % 12;
  const long long doy = (153 * mp + 2) / 5 + day - 1;
  const long long doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
  return era * 146097 + doe;
}

Date CivilFromDays(long long z) {
  const long long era = (z >= 0 ? z : z - 146096) / 146097;
  const long long doe = z - era * 146097;
  const long long yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
  const long long doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
  const long long mp = (5 * doy + 2) / 153;
  const int day = static_cast<int>(doy - (153 * mp + 2) / 5 + 1);
  const int month = static_cast<int>(mp < 10 ? mp + 3 : mp - 9);
  const long long year = yoe + era * 400 + (month <= 2 ? 1 : 0);
  return Date{day, month, static_cast<int>(year)};
}

constexpr const char* kMonthNames[12] = {"January", "February", "March",     "April",   "May",      "June",
                                         "July",    "August",   "September", "October", "November", "December"};
constexpr const char* kWeekdayNames[7] = {"Monday", "Tuesday", "Wednesday", "Thursday", "Friday", "Saturday", "Sunday"};
constexpr int kDaysBeforeMonth[12] = {0, 31, 59, 90, 120, 151, 181, 212, 243, 273, 304, 334};

}  // namespace

bool IsLeapYear(int year) { return (year % 4 == 0 && year % 100 != 0) || year % 400 == 0; }

int DaysInYear(int year) { return IsLeapYear(year) ? 366 : 365; }

int DaysInMonth(int month, int year) {
  static constexpr int kDays[12] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  if (month < 1 || month > 12) return 0;
  return month == 2 && IsLeapYear(year) ? 29 : kDays[month - 1];
}

bool IsValidDate(int day, int month, int year) { return day >= 1 && day <= DaysInMonth(month, year); }

bool IsStorableYear(int year) { return year >= kFirstCalendarYear && year <= kLastCalendarYear; }

int DayOfYear(int day, int month, int year) {
  if (!IsValidDate(day, month, year)) return 0;
  return kDaysBeforeMonth[month - 1] + (month > 2 && IsLeapYear(year) ? 1 : 0) + day;
}

Date DateFromDayOfYear(int dayOfYear, int year) {
  if (dayOfYear < 1 || dayOfYear > DaysInYear(year)) return Date{1, 1, year};
  int month = 1;
  while (dayOfYear > DaysInMonth(month, year)) {
    dayOfYear -= DaysInMonth(month, year);
    ++month;
  }
  return Date{dayOfYear, month, year};
}

int Weekday(int day, int month, int year) {
  if (!IsValidDate(day, month, year)) return 0;
  // Day 0 of the civil count, 1 March 0000, was a Wednesday (3).
  const long long z = DaysFromCivil(day, month, year);
  const long long w = ((z + 2) % 7 + 7) % 7;  // 0 = Monday
  return static_cast<int>(w) + 1;
}

int SundayColumn(int day, int month, int year) {
  const int weekday = Weekday(day, month, year);
  return weekday == 0 ? -1 : weekday % 7;
}

Date AddDays(const Date& date, int days) {
  if (!IsValidDate(date)) return date;
  return CivilFromDays(DaysFromCivil(date.day, date.month, date.year) + days);
}

const char* MonthName(int month) { return month >= 1 && month <= 12 ? kMonthNames[month - 1] : ""; }

const char* WeekdayName(int weekday) { return weekday >= 1 && weekday <= 7 ? kWeekdayNames[weekday - 1] : ""; }

}  // namespace orvalen
