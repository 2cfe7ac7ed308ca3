#include "config/controls/numeric_edit.h"

#include <gtest/gtest.h>

#include <string>

namespace orvalen {
namespace {

constexpr NumericEditRule kDelay{2, 100, 1, NumericFormat::kInteger};
constexpr auto kUp = SpinDirection::kUp;
constexpr auto kDown = SpinDirection::kDown;

struct StepCase {
  std::string text;
  NumericEditRule rule;
  SpinDirection direction;
  std::optional<std::string> expected;
};

const StepCase kSteps[] = {
    {"100", kDelay, kUp, std::nullopt},
    {"2", kDelay, kDown, std::nullopt},
    {"57.9", kDelay, kUp, "58"},
    {"57.9", kDelay, kDown, "56"},
    {"99.5", kDelay, kUp, "100"},
    {"150", kDelay, kUp, std::nullopt},
    {"150", kDelay, kDown, "149"},
    {"1", kDelay, kUp, "2"},
    {"2.5", kDelay, kDown, "1"},
    // %d truncates toward zero: -2.7 shows -2.
    {"-3.7", {-10, 10, 1, NumericFormat::kInteger}, kUp, "-2"},
    {"abc", kDelay, kUp, "1"},
    {"", kDelay, kDown, std::nullopt},
    {"  12abc", kDelay, kUp, "13"},
    {"1e1", kDelay, kUp, "11"},
    {"0x10", kDelay, kUp, "1"},
    {"inf", kDelay, kDown, std::nullopt},
    // The value is single precision: 2^24 + 1 reads as 2^24 and adding 1 is lost.
    {"16777217", {0, 1e9, 1, NumericFormat::kInteger}, kUp, "16777216"},
    // Only 199 characters are read: the 2 after 198 blanks and a 1 is cut off.
    {std::string(198, ' ').append("12"), kDelay, kUp, "2"},
    // A value beyond the int range shows the nearest int, not garbage.
    {"1e39", kDelay, kDown, "2147483647"},
    {"5", {0, 10, 0.5, NumericFormat::kOneDecimal}, kUp, " 5.5"},
    {"10", {0, 10, 0.5, NumericFormat::kOneDecimal}, kUp, std::nullopt},
    {"1.25", {0, 10, 0.1, NumericFormat::kTwoDecimals}, kUp, "1.35"},
    {"12.5", {0, 100, 0.25, NumericFormat::kTwoDecimals}, kDown, "12.25"},
};

class NumericStepTest : public ::testing::TestWithParam<StepCase> {};

TEST_P(NumericStepTest, GivesExpectedText) {
  const StepCase& c = GetParam();
  EXPECT_EQ(StepNumericText(c.text, c.rule, c.direction), c.expected)
      << "text '" << c.text << "'";
}

INSTANTIATE_TEST_SUITE_P(Table, NumericStepTest, ::testing::ValuesIn(kSteps));

}  // namespace
}  // namespace orvalen
