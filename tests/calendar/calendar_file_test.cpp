#include "calendar/calendar_file.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <memory>
#include <string>

#include "calendar/calendar_text.h"
#include "tests/calendar/calendar_test_helpers.h"

namespace orvalen {
namespace {

using test::ReadBytes;
using test::Record;
using test::TempDir;
using test::WriteBytes;

struct FileCloser {
  void operator()(std::FILE* f) const { std::fclose(f); }
};
using File = std::unique_ptr<std::FILE, FileCloser>;

File OpenRead(const std::string& path) { return File(std::fopen(path.c_str(), "rb")); }

const std::string kHeader = "QMKO_CAL_35\n";

TEST(CalendarSignature, ExactTokenCaseIncluded) {
  TempDir dir;
  auto check = [&](const std::string& bytes) {
    WriteBytes(dir.Path("s.cal"), bytes);
    return CheckSignature(dir.Path("s.cal").c_str());
  };
  EXPECT_TRUE(check("QMKO_CAL_35\n"));
  EXPECT_TRUE(check("QMKO_CAL_35"));
  EXPECT_TRUE(check("  \r\nQMKO_CAL_35 more text"));
  EXPECT_FALSE(check("QMKO_CAL_35X\n"));  // one more character
  EXPECT_FALSE(check("qmko_cal_35\n"));   // lower case
  EXPECT_FALSE(check("QMKO_CAL_3\n"));
  EXPECT_FALSE(check("QMKO_CAL_35\x12 [Begin].\n"));
  EXPECT_FALSE(check(""));
  EXPECT_FALSE(check(std::string(5000, 'Q')));
  EXPECT_FALSE(CheckSignature(dir.Path("missing.cal").c_str()));
  EXPECT_FALSE(CheckSignature(static_cast<const char*>(nullptr)));
}

TEST(CalendarDateKeys, FirstStorableDayAndRefusedDays) {
  ASSERT_TRUE(DayKeyOf(Date{1, 1, 1996}));
  EXPECT_EQ(*DayKeyOf(Date{1, 1, 1996}), (DayKey{0, 0}));
  EXPECT_EQ(FormatDateLine(Date{1, 1, 1996}), "0 0 [1,1996].\n");
  EXPECT_EQ(FormatDateLine(Date{15, 1, 1998}), "14 2 [15,1998].\n");
  EXPECT_EQ(FormatDateLine(Date{31, 12, 1996}), "365 0 [366,1996].\n");
  EXPECT_EQ(*DayKeyOf(Date{31, 12, 2019}), (DayKey{364, 23}));
  EXPECT_FALSE(DayKeyOf(Date{31, 12, 2020}));
  EXPECT_FALSE(DayKeyOf(Date{31, 12, 1995}));
  EXPECT_FALSE(DayKeyOf(Date{29, 2, 1997}));

  int day = -9, year = -9;
  EXPECT_TRUE(ParseDateLine("14 2 [15,1998].\n", day, year));
  EXPECT_EQ(day, 14);
  EXPECT_EQ(year, 2);
  EXPECT_TRUE(ParseDateLine("  7\n3", day, year));
  EXPECT_FALSE(ParseDateLine("14", day, year));
  EXPECT_FALSE(ParseDateLine("[15,1998] 14 2", day, year));
  EXPECT_FALSE(ParseDateLine("", day, year));
}

class SectionTest : public ::testing::Test {
 protected:
  // Reads one section from `bytes`; also reports what the next byte is.
  int Read(const std::string& bytes, std::string& out, int& following, std::size_t limit = kSectionLimit) {
    WriteBytes(dir_.Path("sec"), bytes);
    File f = OpenRead(dir_.Path("sec"));
    const int marker = ReadSection(f.get(), out, limit);
    following = std::getc(f.get());
    return marker;
  }
  TempDir dir_;
};

TEST_F(SectionTest, EndsAtAMarkerWithOneTrailingLineFeedRemoved) {
  std::string out;
  int next = 0;
  EXPECT_EQ(Read("text\n\n\x15 [mHour].\n", out, next), kMarkerHours);
  EXPECT_EQ(out, "text\n");
  EXPECT_EQ(next, ' ');
  EXPECT_EQ(Read("\n\x16", out, next), kMarkerTodo);  // the writer's empty section
  EXPECT_EQ(out, "");
  EXPECT_EQ(Read("a\rb\r\x13", out, next), kMarkerEnd);
  EXPECT_EQ(out, "a\rb\r");
  EXPECT_EQ(Read("tail\n", out, next), kNoMarker);  // end of file
  EXPECT_EQ(out, "tail");
  EXPECT_EQ(Read("", out, next), kNoMarker);
  EXPECT_EQ(out, "");
}

TEST_F(SectionTest, AMarkerAsFirstByteGivesAnEmptySectionAndNoMarker) {
  std::string out = "stale";
  int next = 0;
  EXPECT_EQ(Read("\x15 [mHour].\nhours\n", out, next), kNoMarker);
  EXPECT_EQ(out, "");
  EXPECT_EQ(next, ' ');  // the marker was consumed
}

TEST_F(SectionTest, StopsAtTheCharacterLimitWithoutAMarker) {
  std::string out;
  int next = 0;
  const std::string big(kSectionLimit + 10, 'z');
  EXPECT_EQ(Read(big + "\n\x15", out, next), kNoMarker);
  EXPECT_EQ(out.size(), kSectionLimit);
  EXPECT_EQ(next, 'z');
  // Exactly the limit, then the marker: the limit is reached first.
  EXPECT_EQ(Read(std::string(kSectionLimit - 1, 'z') + "\n\x15", out, next), kNoMarker);
  EXPECT_EQ(out.size(), kSectionLimit - 1);
  EXPECT_EQ(Read(std::string(kSectionLimit - 2, 'z') + "\n\x15", out, next), kMarkerHours);
  EXPECT_EQ(out.size(), kSectionLimit - 2);
  EXPECT_EQ(Read("abcdef\x15", out, next, 3), kNoMarker);
  EXPECT_EQ(out, "abc");
}

class SaverIndexTest : public ::testing::Test {
 protected:
  File Write(const std::string& bytes) {
    WriteBytes(dir_.Path("saved.cal"), bytes);
    return OpenRead(dir_.Path("saved.cal"));
  }
  TempDir dir_;
};

TEST_F(SaverIndexTest, IndexesOneYearAndStopsAtALaterYear) {
  const std::string file = kHeader + Record(10, 22, "1.0.0.0.0.0\rLast year\r", "", "") +
                           Record(10, 23, "1.0.0.0.0.0\rThis year\r", "36.0.0.0.0.0.0.0\rMeeting\r", "todo") +
                           Record(364, 23, "2.0.1.0.0.0\rNew Year's Eve\r", "", "") +
                           Record(0, 24, "bad year\r", "", "") +  // out of range: ignored, the scan goes on
                           Record(3, 23, "after the bad year\r", "", "");
  File f = Write(file);
  SaverDayIndex index;
  ASSERT_TRUE(index.Build(f.get(), 23));
  EXPECT_NE(index.Entry(10), 0);
  EXPECT_NE(index.Entry(364), 0);
  EXPECT_NE(index.Entry(3), 0);

  ASSERT_TRUE(index.Build(f.get(), 22));
  EXPECT_NE(index.Entry(10), 0);
  EXPECT_EQ(index.Entry(364), 0);  // the scan ended at the first 2019 record

  std::string journal, hours;
  ASSERT_TRUE(index.Build(f.get(), 23));
  ASSERT_TRUE(index.Lookup(f.get(), 10, journal, hours));
  EXPECT_EQ(journal, "1.0.0.0.0.0\rThis year\r");
  EXPECT_EQ(hours, "36.0.0.0.0.0.0.0\rMeeting\r");
  EXPECT_FALSE(index.Lookup(f.get(), 11, journal, hours));
  EXPECT_FALSE(index.Lookup(f.get(), -1, journal, hours));
  EXPECT_FALSE(index.Lookup(f.get(), 366, journal, hours));
  EXPECT_FALSE(index.Lookup(nullptr, 10, journal, hours));
  EXPECT_EQ(journal, "");
}

TEST_F(SaverIndexTest, RecordPositionIsJustAfterTheStartByte) {
  const std::string file = kHeader + Record(5, 3, "j\r", "", "");
  File f = Write(file);
  SaverDayIndex index;
  index.Build(f.get(), 3);
  EXPECT_EQ(index.Entry(5), static_cast<long>(kHeader.size() + 1));
}

TEST_F(SaverIndexTest, EmptyTextsStillSucceedAndAnEmptyJournalStopsTheHours) {
  File f =
      Write(kHeader + Record(1, 0, "", "", "") +
            // A marker right after the journal marker line: empty journal,
            // and the appointments after it are not read.
            "\x12 [Begin].\n2 0 [3,1996].\n\x14 [mJournal].\n\x15 [mHour].\n40.0.0.0.0.0.0.0\rX\r\n\x13 [mEnd].\n");
  SaverDayIndex index;
  ASSERT_TRUE(index.Build(f.get(), 0));
  std::string journal = "x", hours = "y";
  EXPECT_TRUE(index.Lookup(f.get(), 1, journal, hours));
  EXPECT_EQ(journal, "");
  EXPECT_EQ(hours, "");
  EXPECT_TRUE(index.Lookup(f.get(), 2, journal, hours));
  EXPECT_EQ(journal, "");
  EXPECT_EQ(hours, "");
}

TEST_F(SaverIndexTest, DamagedDateLinesAndTruncatedRecords) {
  const std::string file = kHeader + "\x12 [Begin].\nnot a date\n\x14 [mJournal].\nlost\n\x13 [mEnd].\n" +
                           "\x12 [Begin].\n-1 0 [0,1996].\n\x14 [mJournal].\nlost\n\x13 [mEnd].\n" +
                           "\x12 [Begin].\n366 0 [367,1996].\n\x14 [mJournal].\nlost\n\x13 [mEnd].\n" +
                           "\x12 [Begin].\n7 0 [8,1996].\n\x14 [mJournal].\n1.0.0.0.0.0\rcut off";
  File f = Write(file);
  SaverDayIndex index;
  ASSERT_TRUE(index.Build(f.get(), 0));
  int recorded = 0;
  for (int d = 0; d < kDaysPerIndexYear; ++d) recorded += index.Entry(d) != 0;
  EXPECT_EQ(recorded, 1);
  std::string journal, hours;
  ASSERT_TRUE(index.Lookup(f.get(), 7, journal, hours));
  EXPECT_EQ(journal, "1.0.0.0.0.0\rcut off");
  EXPECT_EQ(hours, "");

  // A record cut inside its date line.
  File g = Write(kHeader + "\x12 [Begin].\n4 0");
  ASSERT_TRUE(index.Build(g.get(), 0));
  ASSERT_TRUE(index.Lookup(g.get(), 4, journal, hours));
  EXPECT_EQ(journal, "");
  File h = Write(kHeader + "\x12 [Beg");
  ASSERT_TRUE(index.Build(h.get(), 0));
  EXPECT_EQ(index.Entry(0), 0);
}

TEST_F(SaverIndexTest, CrLfStructuralLinesReadTheSameLines) {
  const std::string lf =
      kHeader + Record(9, 5, "1.0.9.0.0.0\rHello\r0.0.0.0.0.0\rWorld\r", "37.0.0.0.0.0.0.0\rCall\r", "");
  std::string crlf;
  for (char c : lf) {
    if (c == '\n') crlf += '\r';
    crlf += c;
  }
  std::string journal[2], hours[2];
  for (int i = 0; i < 2; ++i) {
    File f = Write(i == 0 ? lf : crlf);
    SaverDayIndex index;
    index.Build(f.get(), 5);
    ASSERT_TRUE(index.Lookup(f.get(), 9, journal[i], hours[i]));
  }
  EXPECT_EQ(ParseJournalLines(journal[0]), ParseJournalLines(journal[1]));
  EXPECT_EQ(ParseHourLines(hours[0]), ParseHourLines(hours[1]));
  EXPECT_EQ(ParseJournalLines(journal[1]).size(), 2u);
  EXPECT_EQ(ParseHourLines(hours[1]).size(), 1u);
}

TEST_F(SaverIndexTest, SaverCalendarOwnsTheFile) {
  WriteBytes(dir_.Path("c.cal"), kHeader + Record(0, 23, "1.0.0.0.0.0\rNew Year\r", "", ""));
  SaverCalendar calendar;
  EXPECT_FALSE(calendar.Open(dir_.Path("missing.cal").c_str(), 2019));
  EXPECT_FALSE(calendar.IsOpen());
  std::string journal, hours;
  EXPECT_FALSE(calendar.Lookup(0, journal, hours));
  ASSERT_TRUE(calendar.Open(dir_.Path("c.cal").c_str(), 2019));
  EXPECT_TRUE(calendar.Lookup(0, journal, hours));
  EXPECT_EQ(journal, "1.0.0.0.0.0\rNew Year\r");
  // A year after the calendar's range finds nothing, silently.
  ASSERT_TRUE(calendar.Open(dir_.Path("c.cal").c_str(), 2025));
  EXPECT_FALSE(calendar.Lookup(0, journal, hours));
  calendar.Close();
  EXPECT_FALSE(calendar.Lookup(0, journal, hours));
}

}  // namespace
}  // namespace orvalen
