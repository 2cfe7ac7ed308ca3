#pragma once
#include "saver/clock.h"

namespace orvalen {

// The system's tick count and local time. When the environment variable
// named by kTodayVariable holds a valid day, the date is that day.
class SystemClock final : public Clock {
 public:
  SystemClock();
  uint32_t Ticks() override;
  LocalTime Now() override;

 private:
  bool overrideDay_ = false;
  LocalTime day_{};
};

}  // namespace orvalen
