#include "calendar/calendar_text.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <string>

namespace orvalen {
namespace {

using ::testing::ElementsAre;

TEST(SlotTime, QuarterHoursWithTheMarkerBehind) {
  EXPECT_EQ(SlotTime(0, kSlotMarkerBehind), "12:00 AM");
  EXPECT_EQ(SlotTime(3, kSlotMarkerBehind), "12:45 AM");
  EXPECT_EQ(SlotTime(36, kSlotMarkerBehind), "9:00 AM");
  EXPECT_EQ(SlotTime(37, kSlotMarkerBehind), "9:15 AM");
  EXPECT_EQ(SlotTime(47, kSlotMarkerBehind), "11:45 AM");
  EXPECT_EQ(SlotTime(48, kSlotMarkerBehind), "12:00 PM");
  EXPECT_EQ(SlotTime(50, kSlotMarkerBehind), "12:30 PM");
  EXPECT_EQ(SlotTime(51, kSlotMarkerBehind), "12:45 PM");
  EXPECT_EQ(SlotTime(52, kSlotMarkerBehind), "1:00 PM");
  EXPECT_EQ(SlotTime(53, kSlotMarkerBehind), "1:15 PM");
  EXPECT_EQ(SlotTime(55, kSlotMarkerBehind), "1:45 PM");
  EXPECT_EQ(SlotTime(95, kSlotMarkerBehind), "11:45 PM");
  EXPECT_EQ(SlotTime(96, kSlotMarkerBehind), "12:00 PM");
}

TEST(SlotTime, MarkerInFrontAndSlotsWithoutTime) {
  EXPECT_EQ(SlotTime(37, kSlotMarkerFront), "AM 9:15");
  EXPECT_EQ(SlotTime(48, kSlotMarkerFront), "PM 12:00");
  EXPECT_EQ(SlotTime(97, kSlotMarkerBehind), "");
  EXPECT_EQ(SlotTime(97, kSlotMarkerFront), "");
  EXPECT_EQ(SlotTime(-1, kSlotMarkerBehind), "");
  EXPECT_EQ(SlotTime(1 << 30, kSlotMarkerBehind), "");
}

TEST(CalendarColors, TableAndReverseLookup) {
  EXPECT_EQ(CalendarColor(0), 0x000000u);
  EXPECT_EQ(CalendarColor(1), 0x000080u);  // red 128
  EXPECT_EQ(CalendarColor(4), 0x800000u);  // blue 128
  EXPECT_EQ(CalendarColor(8), 0xC0C0C0u);
  EXPECT_EQ(CalendarColor(9), 0x0000FFu);   // red 255
  EXPECT_EQ(CalendarColor(11), 0x00FFFFu);  // yellow
  EXPECT_EQ(CalendarColor(14), 0xFFFF00u);  // cyan
  EXPECT_EQ(CalendarColor(15), 0xFFFFFFu);
  EXPECT_EQ(CalendarColor(16), 0u);
  EXPECT_EQ(CalendarColor(-1), 0u);
  for (int i = 0; i < 16; ++i) EXPECT_EQ(CalendarColorIndex(CalendarColor(i)), i);
  EXPECT_EQ(CalendarColorIndex(MakeColor(1, 2, 3)), 0);
}

TEST(AttributeLines, WriterFormatAndMissingNumbers) {
  // Bold + strike-through in colour 9.
  EXPECT_EQ(FormatJournalAttributes(kStyleBold | kStyleStrikeOut, 9), "9.0.9.0.0.0");
  EXPECT_EQ(FormatJournalAttributes(0, 0), "0.0.0.0.0.0");

  int v[6];
  EXPECT_EQ(ParseDottedNumbers("9.0.9.0.0.0", v, 6), 6);
  EXPECT_EQ(v[0], 9);
  EXPECT_EQ(v[2], 9);
  EXPECT_EQ(ParseDottedNumbers("3.1", v, 6), 2);
  EXPECT_EQ(v[0], 3);
  EXPECT_EQ(v[1], 1);
  EXPECT_EQ(v[2], 0);
  EXPECT_EQ(v[5], 0);
  // Numbers may carry leading blanks and a sign, as "%d" reads them; a blank
  // before a point ends the line's numbers.
  EXPECT_EQ(ParseDottedNumbers(" 5. -2.7", v, 6), 3);
  EXPECT_EQ(v[1], -2);
  EXPECT_EQ(ParseDottedNumbers("5 .2", v, 6), 1);
  EXPECT_EQ(ParseDottedNumbers("x.1.2", v, 6), 0);
  EXPECT_EQ(v[0], 0);
  EXPECT_EQ(ParseDottedNumbers("99999999999999999999.4", v, 6), 2);
  EXPECT_EQ(v[0], 2147483647);
  EXPECT_EQ(v[1], 4);
}

TEST(JournalLines, PairsWithStyleAndColour) {
  const auto lines = ParseJournalLines("9.0.9.0.0.0\rBold struck red\r2.0.4.0.0.0\rItalic navy\r");
  EXPECT_THAT(lines, ElementsAre(JournalLine{9, 9, "Bold struck red"}, JournalLine{2, 4, "Italic navy"}));
}

TEST(JournalLines, CrLfAndNulLineEndsReadTheSameAsCr) {
  const auto cr = ParseJournalLines("1.0.2.0.0.0\rFirst\r0.0.0.0.0.0\rSecond\r");
  EXPECT_EQ(cr.size(), 2u);
  EXPECT_EQ(ParseJournalLines("1.0.2.0.0.0\nFirst\n0.0.0.0.0.0\nSecond\n"), cr);
  EXPECT_EQ(ParseJournalLines("1.0.2.0.0.0\r\nFirst\r\n0.0.0.0.0.0\r\nSecond\r\n"), cr);
  EXPECT_EQ(ParseJournalLines(std::string("1.0.2.0.0.0\0First\0"
                                          "0.0.0.0.0.0\0Second\0",
                                          37)),
            cr);
  EXPECT_EQ(ParseJournalLines("1.0.2.0.0.0\rFirst\r0.0.0.0.0.0\rSecond"), cr);  // no final line end
}

TEST(JournalLines, BlankLinesBetweenPairsAndBlankTextLines) {
  // Blank attribute lines are skipped.
  EXPECT_THAT(ParseJournalLines("\r  \r\r1.0.0.0.0.0\rA\r \r\r4.0.1.0.0.0\rB\r"),
              ElementsAre(JournalLine{1, 0, "A"}, JournalLine{4, 1, "B"}));
  // Blank and empty text lines are journal lines of their own.
  EXPECT_THAT(ParseJournalLines("1.0.3.0.0.0\r   \r2.0.5.0.0.0\rKept\r"),
              ElementsAre(JournalLine{1, 3, "   "}, JournalLine{2, 5, "Kept"}));
  EXPECT_THAT(ParseJournalLines("0.0.0.0.0.0\rOne\r1.0.3.0.0.0\r\r2.0.5.0.0.0\rTwo\r"),
              ElementsAre(JournalLine{0, 0, "One"}, JournalLine{1, 3, ""}, JournalLine{2, 5, "Two"}));
  // An attribute line at the very end has no text: nothing to show.
  EXPECT_TRUE(ParseJournalLines("1.0.3.0.0.0\r").empty());
  EXPECT_TRUE(ParseJournalLines("").empty());
  // An attribute line that is not numbers still pairs, with style 0 and colour 0.
  EXPECT_THAT(ParseJournalLines("garbage\rText\r"), ElementsAre(JournalLine{0, 0, "Text"}));
}

TEST(JournalLines, LongLinesContinueAsTheNextLine) {
  const std::string text250(250, 'x');
  // Past 200 characters a text line goes on as a line of the same style; the
  // next attribute line stays one.
  EXPECT_THAT(ParseJournalLines("1.0.0.0.0.0\r" + text250 + "\r2.0.0.0.0.0\rEnd\r"),
              ElementsAre(JournalLine{1, 0, std::string(200, 'x')}, JournalLine{1, 0, std::string(50, 'x')},
                          JournalLine{2, 0, "End"}));
  // A line of exactly the limit is one line.
  EXPECT_THAT(ParseJournalLines("1.0.0.0.0.0\r" + std::string(200, 'y') + "\r3.0.1.0.0.0\rZ\r"),
              ElementsAre(JournalLine{1, 0, std::string(200, 'y')}, JournalLine{3, 1, "Z"}));
  // The editor's cells read lines of up to 250 characters.
  EXPECT_EQ(ParseJournalLines("1.0.0.0.0.0\r" + text250 + "\r", 250)[0].text, text250);
  // Of an overlong attribute line the rest is passed over.
  EXPECT_THAT(ParseJournalLines("4.0.0.0.0.0" + std::string(200, '0') + "\rText\r"),
              ElementsAre(JournalLine{4, 0, "Text"}));
}

TEST(HourLines, SlotFlagsAndUntestedTextLines) {
  EXPECT_THAT(ParseHourLines("36.2.0.0.0.0.0.0\rMeeting\r53.0\r   \r\r97\rLate\r"),
              ElementsAre(HourLine{36, 2, "Meeting"}, HourLine{53, 0, "   "}, HourLine{97, 0, "Late"}));
  EXPECT_EQ(ParseHourLines("36.2.0.0.0.0.0.0\r\nMeeting\r\n"), ParseHourLines("36.2.0.0.0.0.0.0\rMeeting\r"));
  EXPECT_EQ(ParseHourLines(std::string("36.2.0.0.0.0.0.0\0Meeting\0", 25)),
            ParseHourLines("36.2.0.0.0.0.0.0\rMeeting\r"));
  // An empty text line belongs to its appointment.
  EXPECT_THAT(ParseHourLines("40.0.0.0.0.0.0.0\r\r44.0.0.0.0.0.0.0\rB\r"),
              ElementsAre(HourLine{40, 0, ""}, HourLine{44, 0, "B"}));
  EXPECT_THAT(ParseHourLines("40.1.0.0.0.0.0.0"), ElementsAre(HourLine{40, 1, ""}));
}

TEST(JournalWriter, RoundTripsAndStopsPastTheLimit) {
  const std::vector<JournalLine> lines = {{9, 9, "Bold struck"}, {0, 15, "Plain white"}, {6, 3, ""}, {2, 4, "After"}};
  const std::string text = BuildJournalText(lines);
  EXPECT_EQ(text, "9.0.9.0.0.0\rBold struck\r0.0.15.0.0.0\rPlain white\r6.0.3.0.0.0\r\r2.0.4.0.0.0\rAfter\r");
  EXPECT_EQ(ParseJournalLines(text), lines);

  // Line ends or markers inside a line's text would split it; they are left out.
  EXPECT_EQ(BuildJournalText({{1, 2,
                               "a\rb\nc\x12"
                               "d\x16"}}),
            "1.0.2.0.0.0\rabcd\r");

  std::vector<JournalLine> many(400, JournalLine{1, 1, std::string(100, 'q')});
  const std::string full = BuildJournalText(many);
  const std::size_t pair = 12 + 100 + 1;  // "1.0.1.0.0.0" CR, text, CR
  EXPECT_GT(full.size(), kJournalWriteLimit);
  EXPECT_LE(full.size() - pair, kJournalWriteLimit);
  EXPECT_EQ(full.size() % pair, 0u);
}

TEST(BlankTests, BlankTextAndSortingBelowBlanks) {
  EXPECT_TRUE(IsBlankText(""));
  EXPECT_TRUE(IsBlankText(" \r\n  \r"));
  EXPECT_FALSE(IsBlankText(" \t"));
  EXPECT_FALSE(IsBlankText("  x"));

  EXPECT_TRUE(SortsBelowBlanks("", 7));
  EXPECT_TRUE(SortsBelowBlanks("      ", 7));
  EXPECT_FALSE(SortsBelowBlanks("       ", 7));
  EXPECT_FALSE(SortsBelowBlanks("        ", 7));
  EXPECT_TRUE(SortsBelowBlanks("\rText", 7));
  EXPECT_TRUE(SortsBelowBlanks("  \nText", 7));
  EXPECT_FALSE(SortsBelowBlanks("0.0.0.0.0.0", 7));
  EXPECT_FALSE(SortsBelowBlanks("\xE9t\xE9", 3));  // bytes above 127 compare unsigned
  EXPECT_TRUE(SortsBelowBlanks(std::string("  \0xyz", 6), 3));
}

}  // namespace
}  // namespace orvalen
