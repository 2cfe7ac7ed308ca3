#include "calendar/schedule_lines.h"

#include "calendar/calendar_text.h"

namespace orvalen {
namespace {

// Adds a line on `next`; false once the last line number has been used.
bool AddLine(ScheduleLines& out, int flags, std::string text) {
  out.lines.push_back({out.next, flags, std::move(text)});
  if (++out.next > kScheduleLastLine) {
    out.next = kScheduleLastLine;
    return false;
  }
  return true;
}

}  // namespace

ScheduleLines JournalScheduleLines(std::string_view journal, int firstLine) {
  ScheduleLines out;
  out.next = firstLine;
  if (SortsBelowBlanks(journal, 16)) return out;
  for (JournalLine& line : ParseJournalLines(journal, kScheduleLineLimit)) {
    if (!AddLine(out, line.flags, std::move(line.text))) break;
  }
  return out;
}

ScheduleLines HourScheduleLines(std::string_view hours, int firstLine) {
  ScheduleLines out;
  out.next = firstLine;
  if (SortsBelowBlanks(hours, 16)) return out;
  for (const HourLine& line : ParseHourLines(hours, kScheduleLineLimit)) {
    std::string text = SlotTime(line.slot) + ": " + line.text.substr(0, 100);
    if (!AddLine(out, line.flags, std::move(text))) break;
  }
  return out;
}

int JournalColumnWidth(ZoomColumns columns, int width) {
  switch (columns) {
    case ZoomColumns::kJournal: return width;
    case ZoomColumns::kAppointments: return 0;
    default: return width / 2;
  }
}

}  // namespace orvalen
