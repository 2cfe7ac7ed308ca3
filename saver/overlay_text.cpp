#include "saver/overlay_text.h"

#include <cstdio>

#include "saver/paths.h"

namespace orvalen {

std::string FormatClockTime(int hour, int minute) {
  int shown = hour % 12;
  if (shown == 0) shown = 12;
  char minutes[16];
  if (minute < 10) {
    std::snprintf(minutes, sizeof minutes, "0%d", minute);
  } else {
    std::snprintf(minutes, sizeof minutes, "%d", minute);
  }
  char text[48];
  std::snprintf(text, sizeof text, "%d:%s%s", shown, minutes, hour < 12 ? " AM" : " PM");
  return text;
}

std::string FormatDuration(uint32_t days, uint32_t hours, uint32_t minutes) {
  char dayPart[32] = "";
  if (days == 1) std::snprintf(dayPart, sizeof dayPart, "%u day, ", days);
  if (days > 1) std::snprintf(dayPart, sizeof dayPart, "%u days, ", days);
  char hourPart[32] = "";
  if (hours > 0) std::snprintf(hourPart, sizeof hourPart, "%u hr, ", hours);
  char minutePart[32];
  std::snprintf(minutePart, sizeof minutePart, "%u min", minutes);
  return std::string(dayPart) + hourPart + minutePart;
}

std::string WindowsRunTimeLine(uint32_t t) {
  const uint32_t days = t / 86400000u;
  const uint32_t hours = (t / 3600000u) % 24u;
  const uint32_t minutes = (t / 60000u) % 1440u - hours * 60u;
  return "Windows: " + FormatDuration(days, hours, minutes);
}

std::string SaverRunTimeLine(uint32_t elapsedMs) {
  const uint32_t m = elapsedMs / 60000u;
  const uint32_t days = m / 1440u;
  const uint32_t hours = (m / 60u) % 24u;
  const uint32_t minutes = m % 1440u - hours * 60u;
  return "Saver: " + FormatDuration(days, hours, minutes);
}

std::string ComposeDefaultText(const std::string& imageText, const std::string& weekdayText) {
  // One line feed after the image text: an empty image text leaves an empty
  // first line, a text of its own stands on the lines above the weekday's.
  return imageText + "\n" + weekdayText;
}

std::string ImageNameLine(int32_t currentIndex, const std::string& fileName) {
  char number[16];
  std::snprintf(number, sizeof number, "%d: ", static_cast<int>(currentIndex + 1));
  return number + BaseNameOf(fileName);
}

}  // namespace orvalen
