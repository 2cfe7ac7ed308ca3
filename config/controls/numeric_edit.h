#pragma once
// The numeric edit's arrow rule: the text is read as a number held in single
// precision, the up arrow adds the step while the value is below the
// maximum, the down arrow subtracts it while the value is above the minimum,
// and the result is written back in the display format.
#include <optional>
#include <string>
#include <string_view>

namespace orvalen {

enum class NumericFormat { kInteger = 0, kOneDecimal = 1, kTwoDecimals = 2 };

struct NumericEditRule {
  double minimum = 0;
  double maximum = 100;
  double step = 1;
  NumericFormat format = NumericFormat::kInteger;
};

enum class SpinDirection { kUp, kDown };

// The most characters of the edit's text that are read.
constexpr size_t kNumericEditMaxText = 199;

// The number at the start of `text` (after blanks) in single precision, 0 when
// there is none. Only decimal notation counts ("1e3" yes, "0x10" reads 0,
// "inf" reads 0); only the first 199 characters are read.
float ParseNumericText(std::string_view text);

// "%d" (truncating toward zero, clamped to the int range), "%4.1f" or "%4.2f".
std::string FormatNumericValue(float value, NumericFormat format);

// The text after one arrow press, or nothing when the value is at its bound
// and the text stays as it is.
std::optional<std::string> StepNumericText(std::string_view text, const NumericEditRule& rule,
                                           SpinDirection direction);

}  // namespace orvalen
