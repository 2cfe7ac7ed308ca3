#include "calendar/sample_calendar.h"

#include <gtest/gtest.h>

#include <set>
#include <string>

#include "calendar/calendar_text.h"
#include "tests/calendar/calendar_test_helpers.h"

namespace orvalen {
namespace {

using test::ReadBytes;
using test::TempDir;

const std::string kCommitted = std::string(ORVALEN_TEST_DATA) + "/../../dist/Orvalen.cal";

TEST(SampleCalendar, CommittedFileIsWhatTheGeneratorWrites) {
  const std::string committed = ReadBytes(kCommitted);
  if (committed == "<missing>") GTEST_SKIP() << "source tree not reachable: " << kCommitted;
  TempDir dir;
  ASSERT_EQ(MakeSampleCalendar(dir.Path("Orvalen.cal"), dir.Path("ovtm~cal.~")), CalendarResult::kOk);
  EXPECT_EQ(ReadBytes(dir.Path("Orvalen.cal")), committed)
      << "dist/Orvalen.cal is out of date: run make_sample_calendar dist/Orvalen.cal";
  EXPECT_EQ(dir.Listing(), "Orvalen.cal");
}

TEST(SampleCalendar, ReadsBackAsTheIntendedDays) {
  TempDir dir;
  ASSERT_EQ(MakeSampleCalendar(dir.Path("Orvalen.cal"), dir.Path("work.~")), CalendarResult::kOk);
  const std::string bytes = ReadBytes(dir.Path("Orvalen.cal"));
  // Saved spelling: two blanks in every end line.
  EXPECT_EQ(bytes.find("\x13 [mEnd]"), std::string::npos);
  EXPECT_NE(bytes.find("\x13  [mEnd].\n"), std::string::npos);

  CalendarWorkBuffer buffer(dir.Path("check.~"));
  ASSERT_EQ(buffer.Open(dir.Path("Orvalen.cal")), CalendarResult::kOk);
  const auto days = SampleCalendarDays();
  std::set<int> flags, colors;
  std::set<int> appointmentDays;
  Date previous{1, 1, 1996};
  for (const SampleDay& day : days) {
    EXPECT_GT(day.date, previous);
    previous = day.date;
    EXPECT_EQ(day.date.year, 2019);
    EXPECT_EQ(buffer.ReadDay(day.date), day.texts);
    // Lines inside the sections end with CR, as the journal writer ends them.
    EXPECT_EQ(day.texts.journal.find('\n'), std::string::npos);
    EXPECT_EQ(day.texts.hours.find('\n'), std::string::npos);
    EXPECT_EQ(day.texts.todo.find('\n'), std::string::npos);
    for (const JournalLine& line : ParseJournalLines(day.texts.journal)) {
      flags.insert(line.flags);
      colors.insert(line.color);
    }
    const auto hours = ParseHourLines(day.texts.hours);
    for (const HourLine& a : hours) EXPECT_FALSE(SlotTime(a.slot).empty());
    if (!hours.empty()) appointmentDays.insert(DayOfYear(day.date));
  }
  EXPECT_EQ(flags.size(), 16u);
  EXPECT_EQ(colors.size(), 16u);
  EXPECT_GE(appointmentDays.size(), 15u);
  EXPECT_GE(*appointmentDays.rbegin() - *appointmentDays.begin(), 21);

  // The saver finds late December in the 2019 index.
  SaverCalendar saver;
  ASSERT_TRUE(saver.Open(dir.Path("Orvalen.cal").c_str(), 2019));
  std::string journal, hours;
  ASSERT_TRUE(saver.Lookup(DayOfYear(31, 12, 2019) - 1, journal, hours));
  EXPECT_EQ(ParseJournalLines(journal).front().text, "Last day of the year");
}

}  // namespace
}  // namespace orvalen
