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

}  // namespace orvalen
