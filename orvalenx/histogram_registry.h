#pragma once
// The histograms the library hands out, by 32-bit handle. Handles are small
// numbers that are never 0 and never reused while live; a handle the library
// does not know (never made, or already destroyed) finds nothing, so a
// caller's mistake cannot reach freed or foreign memory.
#include <cstdint>
#include <map>
#include <memory>
#include <mutex>

#include "orvalenx/color_histogram.h"

namespace orvalen {

class HistogramRegistry {
 public:
  // 0 when no histogram could be made.
  uint32_t Create();
  // Runs `work` on the histogram under the registry's lock; false when the
  // handle is unknown.
  template <typename Work>
  bool With(uint32_t handle, Work&& work) {
    std::lock_guard<std::mutex> lock(mutex_);
    const auto it = histograms_.find(handle);
    if (it == histograms_.end()) return false;
    work(*it->second);
    return true;
  }
  void Destroy(uint32_t handle);
  size_t LiveCount();

 private:
  std::mutex mutex_;
  std::map<uint32_t, std::unique_ptr<ColorHistogram>> histograms_;
  uint32_t next_ = 1;
};

}  // namespace orvalen
