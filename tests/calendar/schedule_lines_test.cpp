#include "calendar/schedule_lines.h"

#include <gtest/gtest.h>

#include <string>

#include "calendar/calendar_text.h"

namespace orvalen {
namespace {

std::string JournalOf(int lines) {
  std::string text;
  for (int i = 0; i < lines; ++i) text += "1.0.0.0.0.0\rline " + std::to_string(i) + "\r";
  return text;
}

TEST(ScheduleLines, AtMost31JournalLinesAndAppointmentsFromLine30) {
  struct Case {
    int journalLines;
    int drawn;
    int next;
  };
  for (const Case& c : {Case{0, 0, 0}, Case{3, 3, 3}, Case{30, 30, 30}, Case{31, 31, 30},
                        Case{45, 31, 30}}) {
    const ScheduleLines journal = JournalScheduleLines(JournalOf(c.journalLines), 0);
    ASSERT_EQ(static_cast<int>(journal.lines.size()), c.drawn) << c.journalLines;
    EXPECT_EQ(journal.next, c.next) << c.journalLines;
    if (c.drawn > 0) {
      EXPECT_EQ(journal.lines.back().line, c.drawn - 1);
      EXPECT_EQ(journal.lines.back().flags, kStyleBold);
    }
  }
  const ScheduleLines hours = HourScheduleLines("36.2.0.0.0.0.0.0\rDentist\r50.0\rLunch\r", 30);
  ASSERT_EQ(hours.lines.size(), 1u);
  EXPECT_EQ(hours.lines[0], (ScheduleLine{30, kStyleItalic, "9:00 AM: Dentist"}));
  EXPECT_EQ(hours.next, 30);
}

TEST(ScheduleLines, BlankTextsDrawNothingAndAppointmentsAreCut) {
  EXPECT_TRUE(JournalScheduleLines(std::string(15, ' ') + "\r0.0\rhidden\r", 0).lines.empty());
  EXPECT_TRUE(HourScheduleLines("", 4).lines.empty());
  EXPECT_EQ(HourScheduleLines("", 4).next, 4);
  const ScheduleLines hours =
      HourScheduleLines("97.0\rno time\r52.0\r" + std::string(120, 'a') + "\r", 2);
  ASSERT_EQ(hours.lines.size(), 2u);
  EXPECT_EQ(hours.lines[0].text, ": no time");
  EXPECT_EQ(hours.lines[1].text, "1:00 PM: " + std::string(100, 'a'));
  EXPECT_EQ(hours.lines[1].line, 3);
  EXPECT_EQ(hours.next, 4);
}

TEST(ScheduleLines, ZoomColumns) {
  EXPECT_EQ(JournalColumnWidth(ZoomColumns::kBoth, 601), 300);
  EXPECT_EQ(JournalColumnWidth(ZoomColumns::kJournal, 601), 601);
  EXPECT_EQ(JournalColumnWidth(ZoomColumns::kAppointments, 601), 0);
}

}  // namespace
}  // namespace orvalen
