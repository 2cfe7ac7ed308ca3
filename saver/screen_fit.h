#pragma once
// How the saver fits a picture to its screen: where the picture goes and the
// size and method of the resampling that renders it. The step and the
// decode-ahead worker both go through these, so a picture the worker has
// resampled ahead is exactly what the step would have made of it.
#include <cstdint>

#include "base/geometry.h"
#include "imaging/fit.h"

namespace orvalen {

// The settings and screen that decide the fit; fixed for a run of the saver.
struct ScreenFitRules {
  Rect screenRect;
  int32_t display = kDisplayCenter;
  bool drawCalendar = false;
  bool accurateSize = false;
  int32_t edges = 0;

  // The placement of a picture of this size that loaded.
  ImagePlacement Placement(int32_t imageWidth, int32_t imageHeight) const;
  bool operator==(const ScreenFitRules&) const = default;
};

// The images the render works in and how the picture is reduced into them.
struct WorkFit {
  int32_t width = 0;  // the picture area's extent, taken as 16-bit values
  int32_t height = 0;
  bool accurate = false;  // ChooseAccurate's answer
  bool operator==(const WorkFit&) const = default;
};

WorkFit FitWork(const ScreenFitRules& rules, const Rect& imageRect, int32_t imageWidth, int32_t imageHeight);

// The picture rectangle of a picture of this size: ComputeImageRect of its
// placement (the calendar band and text panel are not kept).
Rect FitImageRect(const ScreenFitRules& rules, int32_t imageWidth, int32_t imageHeight);

}  // namespace orvalen
