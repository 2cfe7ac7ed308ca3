#include "saver/screen_fit.h"

#include "imaging/resample.h"

namespace orvalen {

ImagePlacement ScreenFitRules::Placement(int32_t imageWidth, int32_t imageHeight) const {
  ImagePlacement placement;
  placement.hasImage = true;
  placement.loadFailed = false;
  placement.imageWidth = imageWidth;
  placement.imageHeight = imageHeight;
  placement.screenRect = screenRect;
  placement.optionDisplay = display;
  placement.drawCalendar = drawCalendar;
  return placement;
}

WorkFit FitWork(const ScreenFitRules& rules, const Rect& imageRect, int32_t imageWidth, int32_t imageHeight) {
  WorkFit fit;
  fit.width = static_cast<int16_t>(imageRect.Width());
  fit.height = static_cast<int16_t>(imageRect.Height());
  fit.accurate = ChooseAccurate(rules.accurateSize, imageWidth, imageHeight, imageRect);
  return fit;
}

Rect FitImageRect(const ScreenFitRules& rules, int32_t imageWidth, int32_t imageHeight) {
  Rect imageRect, calendarBand, textPanel;
  ComputeImageRect(rules.Placement(imageWidth, imageHeight), imageRect, calendarBand, textPanel);
  return imageRect;
}

}  // namespace orvalen
