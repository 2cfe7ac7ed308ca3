#include "saver/slide_sequence.h"

#include <gtest/gtest.h>

#include <vector>

namespace orvalen {
namespace {

std::vector<int32_t> Steps(SlideSequence& sequence, int count, int32_t maxImages) {
  std::vector<int32_t> shown;
  for (int i = 0; i < count; ++i) shown.push_back(sequence.Advance(maxImages));
  return shown;
}

TEST(SlideSequence, RestartsAtTheFirstIndexAfterMaxImagesSteps) {
  SlideSequence sequence;
  sequence.Reset(3, 0, false);
  EXPECT_EQ(Steps(sequence, 11, 10), (std::vector<int32_t>{0, 1, 2, 0, 1, 2, 0, 1, 2, 0, 0}));
}

TEST(SlideSequence, RestartFromLastImageReturnsThere) {
  SlideSequence sequence;
  sequence.Reset(5, 3, true);
  EXPECT_EQ(Steps(sequence, 5, 3), (std::vector<int32_t>{3, 4, 0, 3, 4}));
  sequence.Reset(5, 3, false);
  EXPECT_EQ(sequence.Advance(3), 0);
}

TEST(SlideSequence, MaxImagesZeroOrNegativeRepeatsOneImage) {
  SlideSequence sequence;
  sequence.Reset(4, 2, true);
  EXPECT_EQ(Steps(sequence, 4, 0), (std::vector<int32_t>{2, 2, 2, 2}));
  sequence.Reset(4, 1, true);
  EXPECT_EQ(Steps(sequence, 3, -5), (std::vector<int32_t>{1, 1, 1}));
}

TEST(SlideSequence, LastImageBeyondTheListWrapsToZero) {
  SlideSequence sequence;
  sequence.Reset(3, 7, true);
  EXPECT_EQ(Steps(sequence, 2, 10), (std::vector<int32_t>{0, 1}));
}

TEST(SlideSequence, PreviousOnTheFirstImageGivesAnEmptyStepThenZero) {
  SlideSequence sequence;
  sequence.Reset(3, 0, false);
  EXPECT_EQ(sequence.Advance(10), 0);
  sequence.Previous();
  const int32_t index = sequence.Advance(10);
  EXPECT_EQ(index, -1);
  EXPECT_FALSE(sequence.IsUsable(index));
  EXPECT_EQ(sequence.Advance(10), 0);
}

TEST(SlideSequence, FirstLastAndNoImages) {
  SlideSequence sequence;
  sequence.Reset(3, 0, false);
  sequence.Advance(10);
  sequence.Last();
  EXPECT_EQ(sequence.Advance(10), 2);
  sequence.First();
  EXPECT_EQ(sequence.Advance(10), 0);

  SlideSequence empty;
  empty.Reset(0, 0, false);
  empty.Last();
  EXPECT_EQ(empty.NextIndex(), -1);
}

TEST(SlideSequence, CountIsClampedAndFailedImagesStayUnusable) {
  SlideSequence sequence;
  sequence.Reset(5000, 0, false);
  EXPECT_EQ(sequence.ImageCount(), 999);
  sequence.Reset(-3, 0, false);
  EXPECT_EQ(sequence.ImageCount(), 0);
  sequence.Reset(3, 0, false);
  sequence.SetUsable(1, false);
  EXPECT_TRUE(sequence.IsUsable(0));
  EXPECT_FALSE(sequence.IsUsable(1));
  EXPECT_FALSE(sequence.IsUsable(1000));
  sequence.Reset(3, 0, false);
  EXPECT_TRUE(sequence.IsUsable(1));
}

// What a step to come will try is what it then tries, whatever moved the
// sequence before: restarts after maxImages, wraps, the slide-show keys,
// negative indices; and looking does not move it.
TEST(SlideSequence, PeekNextIsWhatTheNextStepTries) {
  enum Move { kStep, kFirst, kLast, kPrevious };
  struct Case {
    int32_t total, lastImage, maxImages;
    std::vector<Move> moves;
  };
  const Case cases[] = {
      {3, 0, 10, {kStep, kStep, kStep, kStep, kStep, kStep, kStep, kStep, kStep, kStep, kStep, kStep}},
      {5, 3, 3, {kStep, kStep, kStep, kStep, kStep, kStep, kStep}},
      {4, 2, 0, {kStep, kStep, kStep}},
      {3, 7, 10, {kStep, kStep, kStep}},
      {3, 0, 10, {kStep, kPrevious, kStep, kStep, kLast, kStep, kFirst, kStep, kPrevious, kPrevious, kStep}},
      {0, 0, 10, {kStep, kLast, kStep, kStep}},
  };
  for (const Case& c : cases) {
    SlideSequence sequence;
    sequence.Reset(c.total, c.lastImage, true);
    for (size_t i = 0; i < c.moves.size(); ++i) {
      switch (c.moves[i]) {
        case kFirst: sequence.First(); break;
        case kLast: sequence.Last(); break;
        case kPrevious: sequence.Previous(); break;
        case kStep: {
          const int32_t peeked = sequence.PeekNext(c.maxImages);
          EXPECT_EQ(sequence.PeekNext(c.maxImages), peeked);
          EXPECT_EQ(sequence.Advance(c.maxImages), peeked) << "total " << c.total << ", move " << i;
          break;
        }
      }
    }
  }
}

}  // namespace
}  // namespace orvalen
