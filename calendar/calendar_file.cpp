#include "calendar/calendar_file.h"

#include <cstring>
#include <utility>

#include "calendar/calendar_text.h"

namespace orvalen {
namespace {

bool IsScanSpace(int c) { return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r'; }

}  // namespace

std::optional<DayKey> DayKeyOf(const Date& date) {
  if (!IsStorableYear(date.year) || !IsValidDate(date)) return std::nullopt;
  return DayKey{DayOfYear(date) - 1, date.year - kFirstCalendarYear};
}

std::string FormatDateLine(const Date& date) {
  const int dayOfYear = DayOfYear(date);
  return std::to_string(dayOfYear - 1) + ' ' + std::to_string(date.year - kFirstCalendarYear) + " [" +
         std::to_string(dayOfYear) + ',' + std::to_string(date.year) + "].\n";
}

bool ParseDateLine(std::string_view line, int& dayIndex, int& yearIndex) {
  std::size_t pos = 0;
  int day = 0;
  int year = 0;
  if (!ScanDecimal(line, pos, day) || !ScanDecimal(line, pos, year)) return false;
  dayIndex = day;
  yearIndex = year;
  return true;
}

bool CheckSignature(std::FILE* file) {
  if (!file) return false;
  int c = std::getc(file);
  while (c != EOF && IsScanSpace(c)) c = std::getc(file);
  char token[20];
  std::size_t length = 0;
  while (c != EOF && !IsScanSpace(c) && length < 19) {
    token[length++] = static_cast<char>(c);
    if (length < 19) c = std::getc(file);
  }
  token[length] = '\0';
  return length > 0 && std::strcmp(token, kCalendarSignature) == 0;
}

bool CheckSignature(const char* path, const FileAccess& access) {
  if (!path) return false;
  std::FILE* file = access.openRead(path);
  if (!file) return false;
  const bool ok = CheckSignature(file);
  std::fclose(file);
  return ok;
}

bool ReadLine(std::FILE* file, std::string& line, std::size_t limit) {
  line.clear();
  while (line.size() < limit) {
    const int c = std::getc(file);
    if (c == EOF) break;
    line.push_back(static_cast<char>(c));
    if (c == '\n') break;
  }
  return !line.empty();
}

void SkipRestOfLine(std::FILE* file) {
  for (int c = std::getc(file); c != EOF && c != '\n'; c = std::getc(file)) {
  }
}

int ReadSection(std::FILE* file, std::string& out, std::size_t limit) {
  out.clear();
  int c = std::getc(file);
  if (c == EOF || IsRecordMarker(c)) return kNoMarker;
  int marker = kNoMarker;
  out.push_back(static_cast<char>(c));
  while (out.size() < limit) {
    c = std::getc(file);
    if (c == EOF) break;
    if (IsRecordMarker(c)) {
      marker = c;
      break;
    }
    out.push_back(static_cast<char>(c));
  }
  if (!out.empty() && out.back() == '\n') out.pop_back();
  return marker;
}

DayTexts ReadRecordAt(std::FILE* file, long position, bool withTodo) {
  DayTexts texts;
  if (!file || position <= 0 || std::fseek(file, position, SEEK_SET) != 0) return texts;
  std::string line;
  ReadLine(file, line);  // the rest of the start line
  ReadLine(file, line);  // the date line
  if (std::getc(file) != kMarkerJournal) return texts;
  SkipRestOfLine(file);
  if (ReadSection(file, texts.journal) != kMarkerHours) return texts;
  SkipRestOfLine(file);
  const int afterHours = ReadSection(file, texts.hours);
  if (!withTodo || afterHours != kMarkerTodo) return texts;
  SkipRestOfLine(file);
  ReadSection(file, texts.todo);
  return texts;
}

bool SaverDayIndex::Build(std::FILE* file, int yearOffset) {
  Clear();
  if (!file) return false;
  built_ = true;
  ScanRecords(file, [&](long position, int dayIndex, int yearIndex) {
    if (yearIndex < 0 || yearIndex >= kIndexYears || dayIndex < 0 || dayIndex >= kDaysPerIndexYear) return true;
    if (yearIndex > yearOffset) return false;
    if (yearIndex == yearOffset) entries_[dayIndex] = position;
    return true;
  });
  return true;
}

void SaverDayIndex::Clear() {
  entries_.fill(0);
  built_ = false;
}

long SaverDayIndex::Entry(int dayIndex) const {
  return dayIndex >= 0 && dayIndex < kDaysPerIndexYear ? entries_[dayIndex] : 0;
}

bool SaverDayIndex::Lookup(std::FILE* file, int dayIndex, std::string& journal, std::string& hours) const {
  journal.clear();
  hours.clear();
  const long position = Entry(dayIndex);
  if (!built_ || !file || position == 0) return false;
  DayTexts texts = ReadRecordAt(file, position, false);
  journal = std::move(texts.journal);
  hours = std::move(texts.hours);
  return true;
}

bool SaverCalendar::Open(const char* path, int year, const FileAccess& access) {
  Close();
  if (!path) return false;
  file_ = access.openRead(path);
  if (!file_) return false;
  index_.Build(file_, year - kFirstCalendarYear);
  return true;
}

void SaverCalendar::Close() {
  if (file_) std::fclose(file_);
  file_ = nullptr;
  index_.Clear();
}

bool SaverCalendar::Lookup(int dayIndex, std::string& journal, std::string& hours) const {
  return index_.Lookup(file_, dayIndex, journal, hours);
}

}  // namespace orvalen
