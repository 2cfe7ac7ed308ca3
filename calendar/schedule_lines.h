#pragma once
// What a day cell of the month view shows below its number, without the
// platform: the journal lines, then the appointment lines with their times,
// each on its line number; and the columns of the zoomed day.
#include <string>
#include <string_view>
#include <vector>

namespace orvalen {

// Lines are read this long when a cell is drawn.
constexpr std::size_t kScheduleLineLimit = 250;
// The last line number a cell draws on.
constexpr int kScheduleLastLine = 30;

struct ScheduleLine {
  int line = 0;   // line number below the number strip, from 0
  int flags = 0;  // kStyle* values
  std::string text;
  friend bool operator==(const ScheduleLine&, const ScheduleLine&) = default;
};

struct ScheduleLines {
  std::vector<ScheduleLine> lines;
  // The line number the next kind of lines starts on.
  int next = 0;
};

// The journal's lines from `firstLine` on. A text that compares below 16
// blanks has none. The line after number kScheduleLastLine is not drawn:
// the lines stop there and `next` is kScheduleLastLine.
ScheduleLines JournalScheduleLines(std::string_view journal, int firstLine);
// The appointments as "<time>: <at most 100 characters>", under the same
// rules, from `firstLine` (where the journal ended).
ScheduleLines HourScheduleLines(std::string_view hours, int firstLine);

// The zoomed day's columns: both halves, or the whole width to one of them.
enum class ZoomColumns { kBoth, kJournal, kAppointments };
// The journal column's width in a header `width` wide; the appointments
// take the rest.
int JournalColumnWidth(ZoomColumns columns, int width);

}  // namespace orvalen
