#include "saver/system_clock.h"

#include <windows.h>

namespace orvalen {

uint32_t SystemClock::Ticks() { return GetTickCount(); }

LocalTime SystemClock::Now() {
  SYSTEMTIME now;
  GetLocalTime(&now);
  return LocalTime{now.wYear, now.wMonth, now.wDay, now.wHour, now.wMinute};
}

}  // namespace orvalen
