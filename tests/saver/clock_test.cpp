#include "saver/clock.h"

#include <gtest/gtest.h>

namespace orvalen {
namespace {

TEST(TodayOverride, TakesARealDayAndLeavesTheTimeOfDay) {
  LocalTime time{2026, 12, 8, 14, 30};
  ASSERT_TRUE(ParseTodayOverride("2019-11-20", time));
  EXPECT_EQ(time.year, 2019);
  EXPECT_EQ(time.month, 11);
  EXPECT_EQ(time.day, 20);
  EXPECT_EQ(time.hour, 14);
  EXPECT_EQ(time.minute, 30);
  EXPECT_TRUE(ParseTodayOverride("2016-02-29", time));
}

TEST(TodayOverride, RefusesWhatIsNoDay) {
  for (const char* text : {"", "2019-11-2", "2019-11-200", "2019/11/20", "2019-13-01", "2019-02-29", "2019-04-31",
                           "1600-01-01", "2019-00-10", "20x9-11-20", "+019-11-20", "2019-1a-20"}) {
    LocalTime time{2026, 12, 8, 1, 2};
    EXPECT_FALSE(ParseTodayOverride(text, time)) << text;
    EXPECT_EQ(time.year, 2026) << text;
    EXPECT_EQ(time.day, 8) << text;
  }
  LocalTime time{};
  EXPECT_FALSE(ParseTodayOverride(nullptr, time));
}

}  // namespace
}  // namespace orvalen
