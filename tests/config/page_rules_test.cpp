#include "config/page_rules.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <string>

namespace orvalen {
namespace {

TEST(SliderRules, BrightnessLoadsOutOfRangeAsMiddleAndLabelsTheValue) {
  struct Case { int stored; int thumb; const char* label; };
  const Case cases[] = {
      {100, 50, "No change"},  // the start-up default is out of range
      {-51, 50, "No change"}, {-50, 0, "Darker: -50%"}, {-30, 20, "Darker: -30%"},
      {0, 50, "No change"}, {20, 70, "Lighter: +20% !!!"}, {50, 100, "Lighter: +50% !!!"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.stored);
    int thumb = BrightnessThumb(c.stored);
    EXPECT_EQ(thumb, c.thumb);
    EXPECT_EQ(BrightnessLabel(BrightnessFromThumb(thumb)), c.label);
  }
}

TEST(SliderRules, GammaLoadsOutOfRangeAsHundredAndLabelsTwoDecimals) {
  struct Case { int stored; int thumb; const char* label; };
  const Case cases[] = {
      {49, 100, "No change"}, {151, 100, "No change"}, {50, 50, "Darker: 0.50"},
      {80, 80, "Darker: 0.80"}, {99, 99, "Darker: 0.99"}, {120, 120, "Lighter: 1.20 !!!"},
      {150, 150, "Lighter: 1.50 !!!"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.stored);
    EXPECT_EQ(GammaThumb(c.stored), c.thumb);
    EXPECT_EQ(GammaLabel(GammaThumb(c.stored)), c.label);
  }
}

TEST(TypedNumbers, LeadingIntegerOfAtMostNineCharacters) {
  struct Case { const char* text; int value; };
  const Case cases[] = {
      {"500", 500}, {"  12abc", 12}, {"-7", -7}, {"abc", 0}, {"", 0},
      {"1234567890123", 123456789},  // only nine characters are read
      {"+42", 42},
  };
  for (const Case& c : cases) EXPECT_EQ(LeadingInteger(c.text, 9), c.value) << c.text;
}

TEST(DefaultText, HeadingNamesThePluralDay) {
  EXPECT_EQ(DefaultTextHeading(1), "Default text for Mondays");
  EXPECT_EQ(DefaultTextHeading(3), "Default text for Wednesdays");
  EXPECT_EQ(DefaultTextHeading(7), "Default text for Sundays");
}

TEST(ProfileNames, DefaultProfileShownByNameAndExtensionAppended) {
  EXPECT_EQ(ProfileDisplayName("C:\\Orvalen\\ORVALEN.ORV", "C:\\Orvalen\\Orvalen.orv"),
            "Orvalen.orv [Default]");
  EXPECT_EQ(ProfileDisplayName("C:\\Orvalen\\x.orv", "C:\\Orvalen\\Orvalen.orv"),
            "C:\\Orvalen\\x.orv");
  EXPECT_EQ(WithProfileExtension("C:\\x.ORV"), "C:\\x.ORV");
  EXPECT_EQ(WithProfileExtension("C:\\x.txt"), "C:\\x.txt.orv");
  EXPECT_EQ(WithProfileExtension("test"), "test.orv");
  EXPECT_EQ(WithProfileExtension("orv"), "orv.orv");
}

TEST(ProfileNames, PathsSplitIntoFolderAndName) {
  struct Case { const char* path; const char* folder; const char* name; };
  const Case cases[] = {
      {"C:\\Pictures\\a.jpg", "C:\\Pictures\\", "a.jpg"},
      {"a.jpg", "", "a.jpg"},
      {"C:a.jpg", "C:", "a.jpg"},
      {"C:\\dir\\", "C:\\dir\\", ""},
  };
  for (const Case& c : cases) {
    FolderAndName parts = SplitFolderAndName(c.path);
    EXPECT_EQ(parts.folder, c.folder);
    EXPECT_EQ(parts.name, c.name);
  }
}

TEST(CalendarCheck, FirstWordDecides) {
  const std::string path = testing::TempDir() + "page_rules_calendar.cal";
  struct Case { const char* content; CalendarFileCheck result; };
  const Case cases[] = {
      {"QMKO_CAL_35 anything follows\n\x01\x02", CalendarFileCheck::Calendar},
      {"\r\n  QMKO_CAL_35", CalendarFileCheck::Calendar},
      {"QMKO_CAL_350", CalendarFileCheck::NotCalendar},
      {"", CalendarFileCheck::NotCalendar},
  };
  for (const Case& c : cases) {
    std::FILE* file = std::fopen(path.c_str(), "wb");
    ASSERT_TRUE(file);
    std::fputs(c.content, file);
    std::fclose(file);
    EXPECT_EQ(CheckCalendarFile(path), c.result) << c.content;
  }
  std::remove(path.c_str());
  EXPECT_EQ(CheckCalendarFile(path), CalendarFileCheck::Unreadable);
  EXPECT_EQ(CheckCalendarFile(""), CalendarFileCheck::Unreadable);
}

}  // namespace
}  // namespace orvalen
