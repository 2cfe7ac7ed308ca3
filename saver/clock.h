#pragma once
// Where the saver takes the time from: the system tick count and the local
// date and time. Tests give the saver a clock of their own.
#include <cstdint>

namespace orvalen {

struct LocalTime {
  int year = 0;
  int month = 0;   // 1..12
  int day = 0;     // 1..31
  int hour = 0;    // 0..23
  int minute = 0;  // 0..59
};

class Clock {
 public:
  virtual ~Clock() = default;
  // Milliseconds since the system started (wraps after 49.7 days).
  virtual uint32_t Ticks() = 0;
  virtual LocalTime Now() = 0;
};

// Name of the environment variable that sets the day the system clock
// reports, as "YYYY-MM-DD" (the time of day stays the real one). It lets a
// demonstration or a test run the saver on a day the calendar file holds.
inline constexpr const char* kTodayVariable = "ORVALEN_TODAY";

// Reads "YYYY-MM-DD" (a real day of the years 1601 to 9999) into the date
// fields of `time`; false, leaving `time` alone, for anything else.
bool ParseTodayOverride(const char* text, LocalTime& time);

}  // namespace orvalen
