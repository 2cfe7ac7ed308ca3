#pragma once
// The organizer calendar file: header, day records, their date keys, the
// section reader and the saver's one-year day index. All streams are opened
// in binary mode.
#include <array>
#include <cstddef>
#include <cstdio>
#include <optional>
#include <string>
#include <string_view>

#include "base/file_access.h"
#include "calendar/calendar_date.h"

namespace orvalen {

constexpr char kCalendarSignature[] = "QMKO_CAL_35";

// Marker bytes; they never occur inside text.
constexpr int kMarkerBegin = 0x12;
constexpr int kMarkerEnd = 0x13;
constexpr int kMarkerJournal = 0x14;
constexpr int kMarkerHours = 0x15;
constexpr int kMarkerTodo = 0x16;
constexpr int kNoMarker = 0;
constexpr bool IsRecordMarker(int c) { return c >= kMarkerBegin && c <= kMarkerTodo; }

// A section's text is read up to this many characters.
constexpr std::size_t kSectionLimit = 30000;
// Structural lines (the rest of the start line, the date line) are read up to
// this many characters.
constexpr std::size_t kStructuralLineLimit = 48;

constexpr int kDaysPerIndexYear = 366;
constexpr int kIndexYears = kLastCalendarYear - kFirstCalendarYear + 1;

// Where a day's record is filed: day index = day of the year - 1, year
// index = year - 1996.
struct DayKey {
  int dayIndex = 0;
  int yearIndex = 0;
  friend bool operator==(const DayKey&, const DayKey&) = default;
};

// The key of a valid date of 1996..2019; none for any other date.
std::optional<DayKey> DayKeyOf(const Date& date);
// The date line of a record: "%d %d [%d,%d].\n" (day index, year index, day of
// the year, year), e.g. "14 2 [15,1998].\n" for 15 January 1998.
std::string FormatDateLine(const Date& date);
// Reads the two leading numbers of a date line as "%d %d" does.
bool ParseDateLine(std::string_view line, int& dayIndex, int& yearIndex);

// True when the file's first white-space delimited token (at most 19
// characters of it) is exactly "QMKO_CAL_35". An unreadable file fails.
bool CheckSignature(const char* path, const FileAccess& access = PortableFileAccess());
bool CheckSignature(std::FILE* file);

// Reads one line: up to and including LF, or `limit` characters, or to the
// end of the file. Returns false when nothing could be read.
bool ReadLine(std::FILE* file, std::string& line, std::size_t limit = kStructuralLineLimit);
// Skips to just after the next LF (or to the end of the file).
void SkipRestOfLine(std::FILE* file);

// Reads one section: bytes up to the end of the file, a marker byte (consumed)
// or `limit` stored characters; one trailing LF is removed. Returns the marker
// that ended the section, or kNoMarker at the end of the file, at the limit,
// and when the very first byte is a marker (the section is then empty and the
// record ends there).
int ReadSection(std::FILE* file, std::string& out, std::size_t limit = kSectionLimit);

struct DayTexts {
  std::string journal;
  std::string hours;
  std::string todo;
  friend bool operator==(const DayTexts&, const DayTexts&) = default;
};

// Reads the record whose index position (just after its 0x12 byte) is
// `position`: journal, then hours when the journal ended at the hours marker,
// then, with `withTodo`, the to-do text when the hours ended at the to-do
// marker. Sections not reached stay empty.
DayTexts ReadRecordAt(std::FILE* file, long position, bool withTodo);

// Calls `found(position, dayIndex, yearIndex)` for every record start from the
// beginning of the stream, in file order, with the parsed date key (not
// range-checked). Records whose date line does not parse are passed over.
// The callback returns false to end the scan.
template <typename Found>
void ScanRecords(std::FILE* file, Found&& found) {
  if (!file || std::fseek(file, 0, SEEK_SET) != 0) return;
  std::string line;
  for (int c = std::getc(file); c != EOF; c = std::getc(file)) {
    if (c != kMarkerBegin) continue;
    const long position = std::ftell(file);
    ReadLine(file, line);
    if (!ReadLine(file, line)) break;
    int dayIndex = 0;
    int yearIndex = 0;
    if (position <= 0 || !ParseDateLine(line, dayIndex, yearIndex)) continue;
    if (!found(position, dayIndex, yearIndex)) break;
  }
}

// The saver's index: the record positions of one year's 366 days in a saved
// file, the file being in date order.
class SaverDayIndex {
 public:
  // Scans the file for records of year index `yearOffset` (year - 1996) and
  // stops at the first record of a later year. Records with a day index
  // outside 0..365 or a year index outside 0..23 are ignored. False (and an
  // empty index) without a stream.
  bool Build(std::FILE* file, int yearOffset);
  void Clear();
  bool IsBuilt() const { return built_; }
  // Position of the day's record, 0 when it has none.
  long Entry(int dayIndex) const;
  // Reads the day's journal and hours texts as the saver shows them. False
  // when the index is not built or the day has no record; true otherwise,
  // even when both texts are empty.
  bool Lookup(std::FILE* file, int dayIndex, std::string& journal, std::string& hours) const;

 private:
  std::array<long, kDaysPerIndexYear> entries_{};
  bool built_ = false;
};

// The saver's calendar: the saved file kept open for reading while the saver
// runs, with its index for one year.
class SaverCalendar {
 public:
  SaverCalendar() = default;
  SaverCalendar(const SaverCalendar&) = delete;
  SaverCalendar& operator=(const SaverCalendar&) = delete;
  ~SaverCalendar() { Close(); }

  // Opens the file for binary reading through `access` and indexes the
  // records of `year`. False when the file cannot be opened.
  bool Open(const char* path, int year, const FileAccess& access = PortableFileAccess());
  void Close();
  bool IsOpen() const { return file_ != nullptr; }
  // The day of the year - 1 of the shown date, looked up in the year indexed.
  bool Lookup(int dayIndex, std::string& journal, std::string& hours) const;

 private:
  std::FILE* file_ = nullptr;
  SaverDayIndex index_;
};

}  // namespace orvalen
