#include "saver/overlay_text.h"

#include <gtest/gtest.h>

namespace orvalen {
namespace {

TEST(OverlayText, TwelveHourClock) {
  EXPECT_EQ(FormatClockTime(12, 5), "12:05 PM");
  EXPECT_EQ(FormatClockTime(0, 5), "12:05 AM");
  EXPECT_EQ(FormatClockTime(9, 30), "9:30 AM");
  EXPECT_EQ(FormatClockTime(23, 59), "11:59 PM");
  EXPECT_EQ(FormatClockTime(13, 0), "1:00 PM");
  EXPECT_EQ(FormatClockTime(11, 10), "11:10 AM");
}

TEST(OverlayText, RunTimes) {
  EXPECT_EQ(WindowsRunTimeLine((25u * 60u + 3u) * 60000u), "Windows: 1 day, 1 hr, 3 min");
  EXPECT_EQ(WindowsRunTimeLine(59000u), "Windows: 0 min");
  EXPECT_EQ(WindowsRunTimeLine(3u * 86400000u + 60000u), "Windows: 3 days, 1 min");
  EXPECT_EQ(WindowsRunTimeLine(2u * 3600000u), "Windows: 2 hr, 0 min");
  EXPECT_EQ(SaverRunTimeLine(59000u), "Saver: 0 min");
  EXPECT_EQ(SaverRunTimeLine(61u * 60000u), "Saver: 1 hr, 1 min");
  EXPECT_EQ(SaverRunTimeLine((1440u + 5u) * 60000u), "Saver: 1 day, 5 min");
}

TEST(OverlayText, DefaultTextPutsTheImageTextFirst) {
  EXPECT_EQ(ComposeDefaultText("Our garden", "Monday text"), "Our garden\nMonday text");
  EXPECT_EQ(ComposeDefaultText("", "Monday text"), "\nMonday text");
}

TEST(OverlayText, ImageNameLine) {
  EXPECT_EQ(ImageNameLine(0, "C:\\Pictures\\Summer.Holiday.jpg"), "1: Summer.Holiday");
  EXPECT_EQ(ImageNameLine(41, "photo.bmp"), "42: photo");
}

}  // namespace
}  // namespace orvalen
