// Loading and showing the slide-show images.
#include "saver/saver_window.h"

namespace orvalen {

void ImageDeleter::operator()(TExtendedDib*) const {}

void TSaver::PrepareAdjustments() {}

void TSaver::LoadTile() { tileLoaded_ = false; }

bool TSaver::LoadImage(const std::string&) {
  // Image loading arrives with the graphics library.
  return false;
}

void TSaver::ShowCurrentImage() {}

void TSaver::DrawImage(HDC) {}

void TSaver::PaintBackground(HDC) {}

void TSaver::BuildCalendarIndex() { calendarOpen_ = false; }

void TSaver::DrawOverlays(HDC) {}

}  // namespace orvalen
