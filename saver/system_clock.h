#pragma once
#include "saver/clock.h"

namespace orvalen {

// The system's tick count and local time.
class SystemClock final : public Clock {
 public:
  uint32_t Ticks() override;
  LocalTime Now() override;
};

}  // namespace orvalen
