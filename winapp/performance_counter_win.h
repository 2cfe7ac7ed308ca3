#pragma once
// Milliseconds by the performance counter, for timing the phases of a step.
#include <windows.h>

namespace orvalen {

// Milliseconds since an arbitrary start, with the counter's resolution.
inline double PerformanceCounterMs() {
  static const double ticksPerMs = [] {
    LARGE_INTEGER frequency{};
    QueryPerformanceFrequency(&frequency);
    return static_cast<double>(frequency.QuadPart) / 1000.0;
  }();
  LARGE_INTEGER now{};
  QueryPerformanceCounter(&now);
  return static_cast<double>(now.QuadPart) / ticksPerMs;
}

}  // namespace orvalen
