#include "imaging/fit.h"

namespace orvalen {

Rect FitRect(Rect area, int32_t imageWidth, int32_t imageHeight) {
  area.left += 4;
  area.top += 4;
  area.right -= 4;
  area.bottom -= 4;
  const int32_t aw = area.right - area.left;
  const int32_t ah = area.bottom - area.top;
  // An area smaller than its inset, or a negative image size, would give a
  // rectangle of negative size, which callers would turn into enormous work
  // images; there is nothing to draw instead.
  if (aw < 0 || ah < 0 || imageWidth < 0 || imageHeight < 0) {
    return Rect{area.left, area.top, area.left, area.top};
  }

  // Scale factors are single precision; the quotients are formed in extended
  // precision and rounded when stored.
  float sx = 1.0f;
  float sy = 1.0f;
  if (aw < imageWidth) sx = static_cast<float>(static_cast<long double>(aw) / imageWidth);
  if (ah < imageHeight) sy = static_cast<float>(static_cast<long double>(ah) / imageHeight);
  const float s = sx > sy ? sy : sx;

  const int32_t nw = static_cast<int32_t>(static_cast<long double>(imageWidth) * s);
  const int32_t nh = static_cast<int32_t>(static_cast<long double>(imageHeight) * s);
  if (nw < aw) area.left += (aw - nw) / 2;
  if (nh < ah) area.top += (ah - nh) / 2;
  return Rect{area.left, area.top, area.left + nw, area.top + nh};
}

void ComputeImageRect(const ImagePlacement& in, Rect& imageRect, Rect& calendarBand,
                      Rect& textPanel) {
  imageRect = kNoImageRect;
  if (!in.hasImage || in.loadFailed || in.imageWidth < 2 || in.imageHeight < 2) return;

  Rect area = in.screenRect;
  const int32_t w = area.right - area.left;
  if (in.drawCalendar) {
    const int32_t t = area.top + 65;
    const int32_t b = area.bottom - 112;
    area = Rect{static_cast<int32_t>(0.3 * static_cast<long double>(w)), t, w, b};
    calendarBand = Rect{0, t, w, b};
    textPanel = Rect{5, t + 4, static_cast<int32_t>(0.3 * static_cast<long double>(w) - 4), b - 4};
  }
  imageRect = area;
  if (in.optionDisplay == kDisplayFullScreen) return;
  imageRect = FitRect(area, in.imageWidth, in.imageHeight);
}

}  // namespace orvalen
