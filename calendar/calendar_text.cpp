#include "calendar/calendar_text.h"

#include <climits>

namespace orvalen {
namespace {

bool IsLineEnd(char c) { return c == '\r' || c == '\n' || c == '\0'; }

bool IsScanSpace(char c) { return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r'; }

bool IsRecordMarkerChar(char c) {
  const auto u = static_cast<unsigned char>(c);
  return u >= 0x12 && u <= 0x16;
}

// Takes the next line from `text` at `pos`: up to a line end (CR, LF, CR LF
// or NUL, consumed) or `limit` characters. `cut` tells whether the limit
// ended it before its line end. Returns false at the end of the text.
bool NextLine(std::string_view text, std::size_t& pos, std::string_view& line, std::size_t limit,
              bool& cut) {
  if (pos >= text.size()) return false;
  const std::size_t start = pos;
  while (pos < text.size() && pos - start < limit && !IsLineEnd(text[pos])) ++pos;
  line = text.substr(start, pos - start);
  cut = pos < text.size() && !IsLineEnd(text[pos]);
  if (pos < text.size() && IsLineEnd(text[pos])) {
    const char end = text[pos++];
    if (end == '\r' && pos < text.size() && text[pos] == '\n') ++pos;
  }
  return true;
}

}  // namespace

bool ScanDecimal(std::string_view s, std::size_t& pos, int& value) {
  std::size_t p = pos;
  while (p < s.size() && IsScanSpace(s[p])) ++p;
  bool negative = false;
  if (p < s.size() && (s[p] == '+' || s[p] == '-')) negative = s[p++] == '-';
  if (p >= s.size() || s[p] < '0' || s[p] > '9') return false;
  long long v = 0;
  while (p < s.size() && s[p] >= '0' && s[p] <= '9') {
    if (v <= static_cast<long long>(INT_MAX) + 1) v = v * 10 + (s[p] - '0');
    ++p;
  }
  if (negative) v = -v;
  if (v > INT_MAX) v = INT_MAX;
  if (v < INT_MIN) v = INT_MIN;
  value = static_cast<int>(v);
  pos = p;
  return true;
}

namespace {

void AppendInt(std::string& out, int value) { out += std::to_string(value); }

}  // namespace

int ParseDottedNumbers(std::string_view line, int* values, int count) {
  for (int i = 0; i < count; ++i) values[i] = 0;
  std::size_t pos = 0;
  int read = 0;
  while (read < count) {
    if (!ScanDecimal(line, pos, values[read])) break;
    ++read;
    if (read == count) break;
    if (pos >= line.size() || line[pos] != '.') break;
    ++pos;
  }
  return read;
}

namespace {

// Calls `onPair(attributes, text)` for each pair of a format line and a text
// line. Blank format lines are skipped; a text line may be empty. A format
// line at the very end, without its text line, is an empty text with
// `keepMissingText` and passed over without. A text line longer than
// `lineLimit` goes on as further lines of the same format; of a format line
// that long, the rest is passed over.
template <typename OnPair>
void ForEachLinePair(std::string_view text, std::size_t lineLimit, bool keepMissingText, OnPair onPair) {
  if (lineLimit == 0) return;
  std::size_t pos = 0;
  std::string_view attributes;
  bool cut = false;
  while (NextLine(text, pos, attributes, lineLimit, cut)) {
    std::string_view rest;
    while (cut && NextLine(text, pos, rest, lineLimit, cut)) {
    }
    if (IsBlankText(attributes)) continue;
    std::string_view body;
    if (!NextLine(text, pos, body, lineLimit, cut)) {
      if (keepMissingText) onPair(attributes, std::string_view{});
      continue;
    }
    onPair(attributes, body);
    while (cut && NextLine(text, pos, body, lineLimit, cut)) onPair(attributes, body);
  }
}

}  // namespace

std::vector<JournalLine> ParseJournalLines(std::string_view text, std::size_t lineLimit) {
  std::vector<JournalLine> lines;
  ForEachLinePair(text, lineLimit, false, [&](std::string_view attributes, std::string_view body) {
    int numbers[6];
    ParseDottedNumbers(attributes, numbers, 6);
    lines.push_back(JournalLine{numbers[0], numbers[2], std::string(body)});
  });
  return lines;
}

std::vector<HourLine> ParseHourLines(std::string_view text, std::size_t lineLimit) {
  std::vector<HourLine> lines;
  ForEachLinePair(text, lineLimit, true, [&](std::string_view attributes, std::string_view body) {
    int numbers[8];
    ParseDottedNumbers(attributes, numbers, 8);
    lines.push_back(HourLine{numbers[0], numbers[1], std::string(body)});
  });
  return lines;
}

std::string FormatJournalAttributes(int flags, int color) {
  std::string out;
  AppendInt(out, flags);
  out += ".0.";
  AppendInt(out, color);
  out += ".0.0.0";
  return out;
}

std::string BuildJournalText(const std::vector<JournalLine>& lines) {
  std::string out;
  for (const JournalLine& line : lines) {
    out += FormatJournalAttributes(line.flags, line.color);
    out += '\r';
    for (char c : line.text) {
      if (!IsLineEnd(c) && !IsRecordMarkerChar(c)) out += c;
    }
    out += '\r';
    if (out.size() > kJournalWriteLimit) break;
  }
  return out;
}

std::string SlotTime(int slot, int style) {
  if (slot < 0 || slot > 96) return {};
  int hour = slot / 4;
  const int quarter = slot % 4;
  if (slot > 51) hour -= 12;
  if (hour == 0) hour = 12;
  const char* half = slot > 47 ? "PM" : "AM";
  std::string out;
  if (style == kSlotMarkerFront) {
    out += half;
    out += ' ';
  }
  AppendInt(out, hour);
  out += ':';
  if (quarter == 0) {
    out += "00";
  } else {
    AppendInt(out, quarter * 15);
  }
  if (style == kSlotMarkerBehind) {
    out += ' ';
    out += half;
  }
  return out;
}

namespace {
constexpr ColorRef kCalendarColors[16] = {
    MakeColor(0, 0, 0),       MakeColor(128, 0, 0),   MakeColor(0, 128, 0),   MakeColor(128, 128, 0),
    MakeColor(0, 0, 128),     MakeColor(128, 0, 128), MakeColor(0, 128, 128), MakeColor(128, 128, 128),
    MakeColor(192, 192, 192), MakeColor(255, 0, 0),   MakeColor(0, 255, 0),   MakeColor(255, 255, 0),
    MakeColor(0, 0, 255),     MakeColor(255, 0, 255), MakeColor(0, 255, 255), MakeColor(255, 255, 255),
};
}  // namespace

ColorRef CalendarColor(int index) { return index >= 0 && index < 16 ? kCalendarColors[index] : kCalendarColors[0]; }

int CalendarColorIndex(ColorRef color) {
  int found = 0;
  for (int i = 0; i < 16; ++i) {
    if (kCalendarColors[i] == (color & 0x00FFFFFF)) found = i;
  }
  return found;
}

bool IsBlankText(std::string_view text) {
  for (char c : text) {
    if (c != ' ' && c != '\r' && c != '\n') return false;
  }
  return true;
}

bool SortsBelowBlanks(std::string_view text, std::size_t blanks) {
  const std::size_t n = text.size() < blanks ? text.size() : blanks;
  for (std::size_t i = 0; i < n; ++i) {
    const auto c = static_cast<unsigned char>(text[i]);
    if (c != ' ') return c < ' ';
  }
  return text.size() < blanks;
}

}  // namespace orvalen
