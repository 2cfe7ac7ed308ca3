#pragma once
// The texts inside a calendar day record: journal and appointment line pairs,
// the quarter-hour time texts, the 16-colour table and the blank tests the
// views use.
#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "base/geometry.h"

namespace orvalen {

// Style flags of journal and appointment lines.
constexpr int kStyleBold = 1;
constexpr int kStyleItalic = 2;
constexpr int kStyleUnderline = 4;
constexpr int kStyleStrikeOut = 8;

// Lines of journal and hours text are read at most this long; a longer text
// line goes on as further lines of the same attributes.
constexpr std::size_t kTextLineLimit = 200;
// The journal writer stops adding lines once the text is longer than this.
constexpr std::size_t kJournalWriteLimit = 29900;

struct JournalLine {
  int flags = 0;  // sum of kStyle* values
  int color = 0;  // index into the colour table, as stored (may lie outside 0..15)
  std::string text;
  friend bool operator==(const JournalLine&, const JournalLine&) = default;
};

struct HourLine {
  int slot = 0;  // quarter hour of the day, 0..96; others have no time text
  int flags = 0;
  std::string text;
  friend bool operator==(const HourLine&, const HourLine&) = default;
};

// One "%d" conversion at `pos`: leading white space, an optional sign, at
// least one digit; the value saturates at the int range. Advances `pos` on success.
bool ScanDecimal(std::string_view text, std::size_t& pos, int& value);

// Parses up to `count` integers written as "%d.%d.%d..." into `values`;
// numbers missing from a short or malformed line are 0. Returns how many were read.
int ParseDottedNumbers(std::string_view line, int* values, int count);

// Journal text: pairs of attribute line ("flags.0.colour.0.0.0") and text line.
// Lines end at CR, LF, CR LF or NUL. Blank attribute lines are skipped; an
// empty text line is an empty journal line.
std::vector<JournalLine> ParseJournalLines(std::string_view text, std::size_t lineLimit = kTextLineLimit);

// Hours text: pairs of attribute line ("slot.flags.x.x.x.x.x.x") and text line.
// Blank attribute lines are skipped; the text line is taken as it is.
std::vector<HourLine> ParseHourLines(std::string_view text, std::size_t lineLimit = kTextLineLimit);

// The attribute line the journal writer puts before a line: "%d.%d.%d.0.0.0"
// with flags, 0 and the colour index.
std::string FormatJournalAttributes(int flags, int color);

// Stored journal text from lines: attribute line, CR, text, CR for each line,
// stopping after the line that makes the text longer than kJournalWriteLimit.
// Line ends and record markers inside a line's text are left out, as they
// would split the pair or the record when the text is read back.
std::string BuildJournalText(const std::vector<JournalLine>& lines);

// Where SlotTime puts the AM/PM marker.
constexpr int kSlotMarkerFront = 1;   // "AM 9:15"
constexpr int kSlotMarkerBehind = 2;  // "9:15 AM"

// Time text of a quarter-hour slot: "12:00 AM" for 0, "9:15 AM" for 37,
// "12:00 PM" for 48 and 96; empty for slots outside 0..96.
std::string SlotTime(int slot, int style = kSlotMarkerBehind);

// The 16 colours of journal lines; an index outside 0..15 gives black.
ColorRef CalendarColor(int index);
// The index of a colour in the table, the last entry if several match
// (none do), 0 for a colour not in the table.
int CalendarColorIndex(ColorRef color);

// True when the text consists only of blanks, CR and LF (or is empty).
bool IsBlankText(std::string_view text);
// The views' emptiness test: the text compares (as unsigned bytes) below a
// string of `blanks` blanks.
bool SortsBelowBlanks(std::string_view text, std::size_t blanks);

}  // namespace orvalen
