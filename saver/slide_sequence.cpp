#include "saver/slide_sequence.h"

#include "saver/settings.h"

namespace orvalen {

void SlideSequence::Reset(int32_t total, int32_t lastImage, bool startFromLastImage) {
  imageCount_ = ClampImageCount(total);
  nextIndex_ = startFromLastImage ? lastImage : 0;
  firstIndex_ = nextIndex_;
  currentIndex_ = 0;
  stepCount_ = -1;
  usable_.fill(true);
}

int32_t SlideSequence::Advance(int32_t maxImages) {
  stepCount_ += 1;
  if (stepCount_ < 0) stepCount_ = 0;
  if (stepCount_ >= maxImages) {
    nextIndex_ = firstIndex_;
    stepCount_ = 0;
  }
  if (nextIndex_ >= imageCount_) nextIndex_ = 0;
  currentIndex_ = nextIndex_;
  nextIndex_ += 1;
  return currentIndex_;
}

int32_t SlideSequence::PeekNext(int32_t maxImages) const {
  SlideSequence copy(*this);
  return copy.Advance(maxImages);
}

bool SlideSequence::IsUsable(int32_t index) const {
  return index >= 0 && index < kMaxImages && usable_[index];
}

void SlideSequence::SetUsable(int32_t index, bool usable) {
  if (index >= 0 && index < kMaxImages) usable_[index] = usable;
}

}  // namespace orvalen
