#include "orvalenx/histogram_registry.h"

#include <new>

namespace orvalen {

uint32_t HistogramRegistry::Create() {
  try {
    auto histogram = std::make_unique<ColorHistogram>();
    std::lock_guard<std::mutex> lock(mutex_);
    uint32_t handle = next_;
    while (handle == 0 || histograms_.count(handle)) ++handle;
    next_ = handle + 1;
    histograms_.emplace(handle, std::move(histogram));
    return handle;
  } catch (const std::bad_alloc&) {
    return 0;
  }
}

void HistogramRegistry::Destroy(uint32_t handle) {
  std::unique_ptr<ColorHistogram> gone;
  std::lock_guard<std::mutex> lock(mutex_);
  const auto it = histograms_.find(handle);
  if (it == histograms_.end()) return;
  gone = std::move(it->second);
  histograms_.erase(it);
}

size_t HistogramRegistry::LiveCount() {
  std::lock_guard<std::mutex> lock(mutex_);
  return histograms_.size();
}

}  // namespace orvalen
