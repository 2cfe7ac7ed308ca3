#pragma once
// Which image of the profile's list a slide-show step tries next.
#include <array>
#include <cstdint>

namespace orvalen {

class SlideSequence {
 public:
  static constexpr int32_t kMaxImages = 1000;

  // `total` is the profile's Total (clamped here to 0..999); the sequence
  // starts at `lastImage` when `startFromLastImage`, else at 0.
  void Reset(int32_t total, int32_t lastImage, bool startFromLastImage);

  // Counts one step and returns the index it tries: after `maxImages` steps
  // the sequence returns to the index it started at; past the end of the
  // list it wraps to 0. The index may be negative (after Previous).
  int32_t Advance(int32_t maxImages);
  // The index the next Advance(maxImages) will return, the state unchanged:
  // what a step to come will try, for the picture decoded ahead of it.
  int32_t PeekNext(int32_t maxImages) const;

  // An index a step may load: in the list's range and not failed before.
  bool IsUsable(int32_t index) const;
  void SetUsable(int32_t index, bool usable);

  // The slide-show keys.
  void First() { nextIndex_ = 0; }
  void Last() { nextIndex_ = imageCount_ - 1; }
  void Previous() { nextIndex_ -= 2; }

  int32_t NextIndex() const { return nextIndex_; }
  int32_t CurrentIndex() const { return currentIndex_; }
  int32_t ImageCount() const { return imageCount_; }
  int32_t FirstIndex() const { return firstIndex_; }
  int32_t StepCount() const { return stepCount_; }

 private:
  int32_t nextIndex_ = 0;
  int32_t currentIndex_ = 0;
  int32_t stepCount_ = -1;
  int32_t imageCount_ = 0;
  int32_t firstIndex_ = 0;
  std::array<bool, kMaxImages> usable_{};
};

}  // namespace orvalen
