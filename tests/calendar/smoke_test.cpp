#include <gtest/gtest.h>
#include "calendar/dates.h"
TEST(Smoke, Leap) { EXPECT_TRUE(orvalen::IsLeapYear(2000)); long double x = 0.6L; (void)x; EXPECT_EQ((int)(0.6 * 200.0L), 119); }
