#pragma once
// The movement poll of the rendering passes: every counted pixel advances one
// counter; when it exceeds 5000 the callback runs (the saver's cursor check)
// and the counter returns to 0. A true result means the mouse moved and the
// rendering must stop. One poll serves a whole rendering, so the resampling
// and the colour pass share the count.
#include <cstdint>

namespace orvalen {

class PixelPoll {
 public:
  // Returns true when the user moved the mouse.
  using Callback = bool (*)(void* context);

  static constexpr uint32_t kThreshold = 5000;

  PixelPoll() = default;
  PixelPoll(Callback callback, void* context) : callback_(callback), context_(context) {}

  // Counts one pixel. True when the callback ran and reported movement.
  bool Count() {
    if (++count_ > kThreshold) {
      count_ = 0;
      return Check();
    }
    return false;
  }

  // Counts `pixels` pixels at once: the callback runs exactly as often as it
  // would have for the same number of single counts. True on movement; the
  // remaining count is then dropped.
  bool CountMany(uint64_t pixels) {
    uint64_t total = count_ + pixels;
    while (total > kThreshold) {
      total -= kThreshold + 1;
      if (Check()) {
        count_ = 0;
        return true;
      }
    }
    count_ = static_cast<uint32_t>(total);
    return false;
  }

  uint32_t count() const { return count_; }
  // Number of times the callback ran.
  uint64_t polls() const { return polls_; }
  // The callback has reported movement.
  bool moved() const { return moved_; }

 private:
  bool Check() {
    ++polls_;
    if (callback_ != nullptr && callback_(context_)) moved_ = true;
    return moved_;
  }

  Callback callback_ = nullptr;
  void* context_ = nullptr;
  uint32_t count_ = 0;
  uint64_t polls_ = 0;
  bool moved_ = false;
};

}  // namespace orvalen
