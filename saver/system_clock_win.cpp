#include "saver/system_clock.h"

#include <windows.h>

namespace orvalen {

SystemClock::SystemClock() {
  char value[32];
  const DWORD length = GetEnvironmentVariableA(kTodayVariable, value, sizeof value);
  overrideDay_ = length > 0 && length < sizeof value && ParseTodayOverride(value, day_);
}

uint32_t SystemClock::Ticks() { return GetTickCount(); }

LocalTime SystemClock::Now() {
  SYSTEMTIME now;
  GetLocalTime(&now);
  LocalTime time{now.wYear, now.wMonth, now.wDay, now.wHour, now.wMinute};
  if (overrideDay_) {
    time.year = day_.year;
    time.month = day_.month;
    time.day = day_.day;
  }
  return time;
}

}  // namespace orvalen
