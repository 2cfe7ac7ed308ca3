#pragma once
// The texts the saver draws around the picture.
#include <cstdint>
#include <string>

namespace orvalen {

// The time on a 12-hour clock: "12:05 PM", "9:30 AM".
std::string FormatClockTime(int hour, int minute);

// "1 day, 1 hr, 3 min": the parts for days and hours are left out when 0.
std::string FormatDuration(uint32_t days, uint32_t hours, uint32_t minutes);
// How long Windows has run, from the system tick count in milliseconds.
std::string WindowsRunTimeLine(uint32_t ticks);
// How long the saver has run, from the milliseconds since it started.
std::string SaverRunTimeLine(uint32_t elapsedMs);

// The default day text: the image's text, then the weekday's text.
std::string ComposeDefaultText(const std::string& imageText, const std::string& weekdayText);

// "%d: %s": the image's number (from 1) and its file name without folder
// and extension.
std::string ImageNameLine(int32_t currentIndex, const std::string& fileName);

}  // namespace orvalen
