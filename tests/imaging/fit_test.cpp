#include "imaging/fit.h"

#include <gtest/gtest.h>

namespace orvalen {
namespace {

const Rect kScreen{0, 0, 1920, 1080};

TEST(FitRectTest, CentresASmallerImageAtItsOwnSize) {
  // Inset area (4, 4)-(1916, 1076): 1912 x 1072.
  EXPECT_EQ(FitRect(kScreen, 400, 300), (Rect{760, 390, 1160, 690}));
  // Odd leftovers go to the right and bottom.
  EXPECT_EQ(FitRect(Rect{0, 0, 109, 109}, 100, 100), (Rect{4, 4, 104, 104}));
  EXPECT_EQ(FitRect(Rect{0, 0, 110, 110}, 100, 100), (Rect{5, 5, 105, 105}));
}

TEST(FitRectTest, ReducesByTheSmallerSinglePrecisionFactor) {
  // s = 1072 / 3000 in single precision is a little below the quotient, so
  // 3000 * s truncates to 1071 rows.
  EXPECT_EQ(FitRect(kScreen, 4000, 3000), (Rect{245, 4, 1674, 1075}));
  // Width-bound: 1912 / 3824 = 0.5 exactly.
  EXPECT_EQ(FitRect(kScreen, 3824, 1000), (Rect{4, 290, 1916, 790}));
  // Only one direction too large: the other one is reduced with it.
  EXPECT_EQ(FitRect(kScreen, 1000, 2144), (Rect{710, 4, 1210, 1076}));
}

TEST(FitRectTest, NeverEnlargesAndFillsAnExactFit) {
  EXPECT_EQ(FitRect(kScreen, 1912, 1072), (Rect{4, 4, 1916, 1076}));
  EXPECT_EQ(FitRect(kScreen, 2, 2), (Rect{959, 539, 961, 541}));
}

TEST(FitRectTest, KeepsTheAreaOrigin) {
  EXPECT_EQ(FitRect(Rect{100, 50, 300, 250}, 100, 50), (Rect{150, 125, 250, 175}));
}

TEST(FitRectTest, AnAreaSmallerThanItsInsetGivesAnEmptyRectangle) {
  EXPECT_EQ(FitRect(Rect{0, 0, 6, 100}, 50, 50), (Rect{4, 4, 4, 4}));
  EXPECT_EQ(FitRect(Rect{10, 10, 10, 10}, 50, 50), (Rect{14, 14, 14, 14}));
  EXPECT_EQ(FitRect(kScreen, -5, 10), (Rect{4, 4, 4, 4}));
  // An area exactly used up by the inset is what the rule gives: width 0.
  EXPECT_EQ(FitRect(Rect{0, 0, 8, 108}, 50, 50), (Rect{4, 54, 4, 54}));
}

struct Placement {
  Rect image{-7, -7, -7, -7};
  Rect band{-7, -7, -7, -7};
  Rect panel{-7, -7, -7, -7};
};

Placement Place(const ImagePlacement& in) {
  Placement p;
  ComputeImageRect(in, p.image, p.band, p.panel);
  return p;
}

ImagePlacement Image(int32_t width, int32_t height) {
  ImagePlacement in;
  in.hasImage = true;
  in.imageWidth = width;
  in.imageHeight = height;
  in.screenRect = kScreen;
  return in;
}

TEST(ComputeImageRectTest, NothingToPlaceGivesTheUnitRectangleAndLeavesTheOverlays) {
  const Rect untouched{-7, -7, -7, -7};
  ImagePlacement none = Image(400, 300);
  none.hasImage = false;
  ImagePlacement failed = Image(400, 300);
  failed.loadFailed = true;
  for (ImagePlacement in : {none, failed, Image(1, 300), Image(400, 1), Image(0, 0)}) {
    in.drawCalendar = true;
    const Placement p = Place(in);
    EXPECT_EQ(p.image, kNoImageRect);
    EXPECT_EQ(p.band, untouched);
    EXPECT_EQ(p.panel, untouched);
  }
}

TEST(ComputeImageRectTest, CentresByDefaultAndForUnknownModes) {
  for (int32_t mode : {3, 0, 7}) {
    ImagePlacement in = Image(400, 300);
    in.optionDisplay = mode;
    const Placement p = Place(in);
    EXPECT_EQ(p.image, (Rect{760, 390, 1160, 690}));
    EXPECT_EQ(p.band, (Rect{-7, -7, -7, -7}));
  }
  EXPECT_EQ(Place(Image(2, 2)).image, (Rect{959, 539, 961, 541}));
}

TEST(ComputeImageRectTest, FullScreenModeStretchesOverTheWholeArea) {
  ImagePlacement in = Image(400, 300);
  in.optionDisplay = kDisplayFullScreen;
  EXPECT_EQ(Place(in).image, kScreen);
}

TEST(ComputeImageRectTest, CalendarPutsThePictureInTheBandsRightPart) {
  ImagePlacement in = Image(4000, 3000);
  in.drawCalendar = true;
  const Placement p = Place(in);
  // 0.3 as a double is a little below 0.3: 0.3 * 1920 truncates to 575.
  EXPECT_EQ(p.band, (Rect{0, 65, 1920, 968}));
  EXPECT_EQ(p.panel, (Rect{5, 69, 571, 964}));
  // Area (575, 65)-(1920, 968), inset: 1337 x 895.
  EXPECT_EQ(p.image, FitRect(Rect{575, 65, 1920, 968}, 4000, 3000));
  EXPECT_EQ(p.image, (Rect{651, 69, 1844, 964}));

  in.optionDisplay = kDisplayFullScreen;
  EXPECT_EQ(Place(in).image, (Rect{575, 65, 1920, 968}));
}

TEST(ComputeImageRectTest, CalendarBandFollowsTheScreenRectangle) {
  ImagePlacement in = Image(100, 100);
  in.drawCalendar = true;
  in.screenRect = Rect{0, 10, 1000, 800};
  const Placement p = Place(in);
  EXPECT_EQ(p.band, (Rect{0, 75, 1000, 688}));
  // trunc(0.3 * 1000 - 4) = trunc(295.99...) = 295.
  EXPECT_EQ(p.panel, (Rect{5, 79, 295, 684}));
}

}  // namespace
}  // namespace orvalen
