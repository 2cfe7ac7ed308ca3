#include "saver/clock.h"

#include <cstdio>
#include <cstring>
#include <initializer_list>

#include "calendar/calendar_date.h"

namespace orvalen {

bool ParseTodayOverride(const char* text, LocalTime& time) {
  if (!text || std::strlen(text) != 10 || text[4] != '-' || text[7] != '-') return false;
  for (int i : {0, 1, 2, 3, 5, 6, 8, 9}) {
    if (text[i] < '0' || text[i] > '9') return false;
  }
  int year = 0, month = 0, day = 0;
  if (std::sscanf(text, "%4d-%2d-%2d", &year, &month, &day) != 3) return false;
  if (year < 1601 || month < 1 || month > 12 || day < 1 || day > DaysInMonth(month, year)) return false;
  time.year = year;
  time.month = month;
  time.day = day;
  return true;
}

}  // namespace orvalen
