#include "saver/settings.h"

#include "calendar/calendar_text.h"

#include <gtest/gtest.h>

#include "recording_profile_helpers.h"

namespace orvalen {
namespace {

TEST(SettingsColors, ParseTakesEachNumberModulo256) {
  EXPECT_EQ(ParseColor("64,0,0"), MakeColor(64, 0, 0));
  EXPECT_EQ(RedOf(ParseColor("300,0,0")), 44u);
  EXPECT_EQ(ParseColor("-1,256,513"), MakeColor(255, 0, 1));
  EXPECT_EQ(ParseColor("10"), MakeColor(10, 0, 0));
  EXPECT_EQ(ParseColor("garbage"), MakeColor(0, 0, 0));
  EXPECT_EQ(FormatColor(MakeColor(210, 205, 200)), "210,205,200");
}

TEST(SettingsText, OneLineEncodingAndBothDecodings) {
  const std::string stored = EncodeOneLine("first\r\nsecond\tend");
  EXPECT_EQ(stored, std::string("first\x14\x15second end"));
  EXPECT_EQ(DecodeForSaver(stored), "first \nsecond end");
  EXPECT_EQ(DecodeForEditor(stored), "first\r\nsecond end");
}

TEST(SettingsText, BlankComparisons) {
  EXPECT_TRUE(SortsBelowBlanks("", 3));
  EXPECT_TRUE(SortsBelowBlanks("  ", 3));
  EXPECT_FALSE(SortsBelowBlanks("   ", 3));
  EXPECT_FALSE(SortsBelowBlanks("a", 3));
  EXPECT_TRUE(SortsAboveBlanks("C:\\", 8));
  EXPECT_FALSE(SortsAboveBlanks("        ", 8));
  EXPECT_FALSE(SortsAboveBlanks("", 8));
}

TEST(Settings, ImageCountIsClamped) {
  EXPECT_EQ(ClampImageCount(5000), 999);
  EXPECT_EQ(ClampImageCount(1000), 999);
  EXPECT_EQ(ClampImageCount(-4), 0);
  EXPECT_EQ(ClampImageCount(12), 12);
}

TEST(Settings, ReaderRepairsNegativeDelayAndDisplayOnly) {
  RecordingProfile profile;
  profile.values["Settings"] = {{"VALUE_DELAY", "-2"}, {"OPTION_DISPLAY", "-1"}, {"VALUE_BRIGHT", "-60"},
                                {"IMAGE_MAX_NUMBER", "-3"}, {"OPTION_TRANSITION", "7"}};
  SaverSettings s;
  ReadSettings(profile, s);
  EXPECT_EQ(s.delaySeconds, 4);
  EXPECT_EQ(s.display, 3);
  EXPECT_EQ(s.brightness, -60);
  EXPECT_EQ(s.maxImages, -3);
  EXPECT_EQ(s.transition, 7);
}

TEST(Settings, WriterOrderAndFlushes) {
  RecordingProfile profile;
  SaverSettings s;
  s.tileFile = "C:\\tile.jpg";
  s.backgroundColor = MakeColor(1, 2, 3);
  WriteSettings(profile, s, {{"C:\\a.jpg", "x"}, {"C:\\b.jpg", "line1\r\nline2"}});
  const std::vector<std::string> expected = {
      "Settings/TILE_FILENAME=C:\\tile.jpg", "Settings/CALENDAR_FILENAME=", "Settings/USE_CALENDAR_FILE=0",
      "Settings/ALLOW_CNT_ALT_DEL=1", "Settings/DRAW_CALENDAR=0", "Settings/GRAYSCALE=0",
      "Settings/VALUE_DELAY=4", "Settings/VALUE_BRIGHT=100", "Settings/VALUE_GAMMA=100",
      "Settings/OPTION_DISPLAY=3", "Settings/OPTION_EFFECTS=0", "Settings/OPTION_EDGES=0",
      "Settings/OPTION_TRANSITION=0", "Settings/ACCURATE_SIZE=0", "Settings/USE_COLOR=1",
      "Settings/SHOW_MINICALENDAR=1", "Settings/SHOW_DATE=1", "Settings/SHOW_TIME=1",
      "Settings/SHOW_WINDOWSRUNTIME=1", "Settings/IMAGE_MAX_NUMBER=10", "Settings/START_FROM_LAST_IMAGE=0",
      "Settings/SHOW_IMAGE_NAME=0", "<flush>",
      "Settings/USE_COLOR_RGB=1,2,3", "Settings/COLOR_CALENDAR_TEXT=210,205,200", "Settings/Total=2", "<flush>",
      "Files/i0=C:\\a.jpg", "Files/i1=C:\\b.jpg", "Files/i2=<END>", "<flush>",
      "ImageText/i0=x", "ImageText/i1=line1\x14\x15line2", "<flush>"};
  EXPECT_EQ(profile.log, expected);
}

TEST(Settings, WhatTheWriterWritesTheReaderReadsBack) {
  RecordingProfile profile;
  SaverSettings written;
  written.useCalendarFile = true;
  written.showMiniCalendar = false;
  written.calendarFile = "C:\\cal\\Orvalen.cal";
  written.drawCalendar = true;
  written.delaySeconds = 9;
  written.brightness = -30;
  written.gamma = 140;
  written.grayscale = true;
  written.display = 4;
  written.transition = 2;
  written.edges = 1;
  written.useColor = false;
  written.accurateSize = true;
  written.calendarTextColor = MakeColor(9, 8, 7);
  written.backgroundColor = MakeColor(1, 2, 3);
  written.allowCtrlAltDel = false;
  written.maxImages = 25;
  written.startFromLastImage = true;
  written.showImageName = true;
  WriteSettings(profile, written, {});
  SaverSettings read;
  ReadSettings(profile, read);
  EXPECT_EQ(read.useCalendarFile, true);
  EXPECT_EQ(read.showMiniCalendar, false);
  EXPECT_EQ(read.calendarFile, written.calendarFile);
  EXPECT_EQ(read.drawCalendar, true);
  EXPECT_EQ(read.delaySeconds, 9);
  EXPECT_EQ(read.brightness, -30);
  EXPECT_EQ(read.gamma, 140);
  EXPECT_EQ(read.grayscale, true);
  EXPECT_EQ(read.display, 4);
  EXPECT_EQ(read.transition, 2);
  EXPECT_EQ(read.edges, 1);
  EXPECT_EQ(read.useColor, false);
  EXPECT_EQ(read.accurateSize, true);
  EXPECT_EQ(read.calendarTextColor, written.calendarTextColor);
  EXPECT_EQ(read.backgroundColor, written.backgroundColor);
  EXPECT_EQ(read.allowCtrlAltDel, false);
  EXPECT_EQ(read.maxImages, 25);
  EXPECT_EQ(read.startFromLastImage, true);
  EXPECT_EQ(read.showImageName, true);
  EXPECT_EQ(profile.values["Settings"]["Total"], "0");
  EXPECT_EQ(profile.values["Files"]["i0"], "<END>");
}

}  // namespace
}  // namespace orvalen
