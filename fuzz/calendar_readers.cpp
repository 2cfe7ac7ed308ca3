// Calendar files from anywhere: the signature check, the saver's index and
// lookup, the editor's working buffer (open, read, append, save) and the
// journal and hours line readers. Besides staying inside its buffers, the
// code must keep two promises, checked here:
//  - a day appended to the working buffer reads back as written;
//  - a saved file, opened again, gives every day the texts it had before.
// The first input byte chooses whether the signature line is put in front.
#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "calendar/calendar_buffer.h"
#include "calendar/calendar_file.h"
#include "calendar/calendar_text.h"

using namespace orvalen;

namespace {

// A folder of this process for one input's files, removed after the input.
struct ScratchDir {
  ScratchDir() : path(std::filesystem::temp_directory_path() / ("orvalen_fuzz_calendar_" + std::to_string(getpid()))) {
    std::filesystem::create_directories(path);
  }
  ~ScratchDir() {
    std::error_code error;
    std::filesystem::remove_all(path, error);
  }
  std::string File(const char* name) const { return (path / name).string(); }
  std::filesystem::path path;
};

void Require(bool condition, const char* what) {
  if (!condition) {
    std::fprintf(stderr, "calendar_readers: %s\n", what);
    std::abort();
  }
}

void ParseTexts(const DayTexts& texts) {
  for (const JournalLine& line : ParseJournalLines(texts.journal)) (void)CalendarColor(line.color);
  for (const HourLine& line : ParseHourLines(texts.hours)) (void)SlotTime(line.slot, 1 + (line.flags & 1));
  (void)SortsBelowBlanks(texts.journal, 7);
}

void WriteFile(const std::string& path, const std::string& bytes) {
  std::FILE* f = std::fopen(path.c_str(), "wb");
  Require(f != nullptr, "cannot write the input file");
  std::fwrite(bytes.data(), 1, bytes.size(), f);
  std::fclose(f);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string raw(reinterpret_cast<const char*>(data), size);
  ParseTexts(DayTexts{raw, raw, {}});
  ParseJournalLines(raw, 250);

  const std::string input = (size > 0 && (data[0] & 1) ? std::string(kCalendarSignature) + "\n" : std::string()) + raw;
  const ScratchDir scratch;
  const std::string path = scratch.File("in.cal");
  const std::string saved = scratch.File("saved.cal");
  WriteFile(path, input);
  (void)CheckSignature(path.c_str());

  // The saver, for the first, the last and a year named by the input.
  if (std::FILE* f = std::fopen(path.c_str(), "rb")) {
    SaverDayIndex index;
    const int years[] = {0, kIndexYears - 1, size > 1 ? data[1] % 40 - 5 : 7};
    for (int yearOffset : years) {
      index.Build(f, yearOffset);
      std::string journal, hours;
      for (int day = -1; day <= kDaysPerIndexYear; ++day) {
        if (index.Lookup(f, day, journal, hours)) ParseTexts(DayTexts{journal, hours, {}});
      }
    }
    std::fclose(f);
  }

  // The editor.
  CalendarWorkBuffer buffer(scratch.File("work.~"));
  if (buffer.Open(path) != CalendarResult::kOk) return 0;
  std::vector<Date> days;
  for (Date d{1, 1, kFirstCalendarYear}; d.year <= kLastCalendarYear; d = AddDays(d, 1)) {
    if (buffer.HasRecord(d)) days.push_back(d);
  }
  DayTexts sample;
  for (const Date& d : days) {
    sample = buffer.ReadDay(d);
    ParseTexts(sample);
  }
  // Re-append the last day read under a date named by the input.
  const Date target = AddDays(Date{1, 1, kFirstCalendarYear}, size > 3 ? (data[2] * 256 + data[3]) % 8766 : 100);
  if (sample.journal.size() <= kSectionLimit - 2 && sample.hours.size() <= kSectionLimit - 2 &&
      sample.todo.size() <= kSectionLimit - 2) {
    Require(buffer.AppendDay(target, sample) == CalendarResult::kOk, "append failed");
    Require(buffer.ReadDay(target) == sample, "appended day reads back differently");
    days.push_back(target);
  } else {
    buffer.RemoveDay(target);
  }

  Require(buffer.Save(saved) == CalendarResult::kOk, "save failed");
  CalendarWorkBuffer reopened(scratch.File("again.~"));
  Require(reopened.Open(saved) == CalendarResult::kOk, "saved file does not open");
  for (Date d{1, 1, kFirstCalendarYear}; d.year <= kLastCalendarYear; d = AddDays(d, 1)) {
    Require(buffer.HasRecord(d) == reopened.HasRecord(d), "saved file holds other days");
    if (buffer.HasRecord(d)) Require(buffer.ReadDay(d) == reopened.ReadDay(d), "saved day reads differently");
  }
  return 0;
}
