#pragma once
// Where a picture goes on the screen: the fitting rule shared by the saver and
// every preview, and the saver's placement of the image, the calendar band and
// the day-text panel.
#include <cstdint>

#include "base/geometry.h"

namespace orvalen {

// OPTION_DISPLAY values.
inline constexpr int32_t kDisplayCenter = 3;
inline constexpr int32_t kDisplayFullScreen = 4;

// The picture rectangle used when there is nothing (sensible) to show.
inline constexpr Rect kNoImageRect{0, 0, 1, 1};

// Insets `area` by 4 pixels on every side and places the image in it, reduced
// (never enlarged) with its proportions kept, centred. An area smaller than
// its inset, or a negative image size, gives an empty rectangle at the inset
// area's top-left corner.
Rect FitRect(Rect area, int32_t imageWidth, int32_t imageHeight);

struct ImagePlacement {
  bool hasImage = false;
  bool loadFailed = false;
  int32_t imageWidth = 0;
  int32_t imageHeight = 0;
  Rect screenRect;
  int32_t optionDisplay = kDisplayCenter;
  bool drawCalendar = false;
};

// Sets imageRect to (0, 0, 1, 1), then, for an image of at least 2 x 2 pixels
// that loaded, to its place on the screen. With drawCalendar the picture goes
// to the right 70 % of the calendar band and calendarBand and textPanel are
// set; otherwise they are left alone.
void ComputeImageRect(const ImagePlacement& in, Rect& imageRect, Rect& calendarBand,
                      Rect& textPanel);

}  // namespace orvalen
