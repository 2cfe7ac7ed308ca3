// Writes the sample calendar of the distribution folder:
//   make_sample_calendar [OUTPUT]   (default "Orvalen.cal")
#include <cstdio>
#include <string>

#include "calendar/sample_calendar.h"

int main(int argc, char** argv) {
  const std::string output = argc > 1 ? argv[1] : "Orvalen.cal";
  const orvalen::CalendarResult result = orvalen::MakeSampleCalendar(output, output + ".buf~");
  if (result != orvalen::CalendarResult::kOk) {
    std::fprintf(stderr, "make_sample_calendar: cannot write %s (error %d)\n", output.c_str(),
                 static_cast<int>(result));
    return 1;
  }
  return 0;
}
