#pragma once
// The sample calendar shipped in the distribution folder as "Orvalen.cal":
// six weeks of late 2019 with journal lines in every style and colour and
// appointments on the working days.
#include <string>
#include <vector>

#include "calendar/calendar_buffer.h"

namespace orvalen {

struct SampleDay {
  Date date;
  DayTexts texts;
};

// The days of the sample, in date order.
std::vector<SampleDay> SampleCalendarDays();

// Writes the sample calendar to `calendarPath`, using `bufferPath` as the
// working buffer (deleted afterwards).
CalendarResult MakeSampleCalendar(const std::string& calendarPath, const std::string& bufferPath);

}  // namespace orvalen
