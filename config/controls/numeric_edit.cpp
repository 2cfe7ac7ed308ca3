#include "config/controls/numeric_edit.h"

#include <cfloat>
#include <climits>
#include <cstdio>
#include <cstdlib>

namespace orvalen {

namespace {

bool IsBlank(char c) { return c == ' ' || (c >= '\t' && c <= '\r'); }
bool IsDigit(char c) { return c >= '0' && c <= '9'; }

// The length of the decimal number at the start of `text`: sign, digits with
// an optional point, an optional exponent. 0 when there is no digit.
size_t DecimalPrefix(std::string_view text) {
  size_t i = 0;
  if (i < text.size() && (text[i] == '+' || text[i] == '-')) ++i;
  size_t digits = 0;
  while (i < text.size() && IsDigit(text[i])) ++i, ++digits;
  if (i < text.size() && text[i] == '.') {
    ++i;
    while (i < text.size() && IsDigit(text[i])) ++i, ++digits;
  }
  if (digits == 0) return 0;
  if (i < text.size() && (text[i] == 'e' || text[i] == 'E')) {
    size_t j = i + 1;
    if (j < text.size() && (text[j] == '+' || text[j] == '-')) ++j;
    if (j < text.size() && IsDigit(text[j])) {
      while (j < text.size() && IsDigit(text[j])) ++j;
      i = j;
    }
  }
  return i;
}

}  // namespace

float ParseNumericText(std::string_view text) {
  text = text.substr(0, kNumericEditMaxText);
  size_t start = 0;
  while (start < text.size() && IsBlank(text[start])) ++start;
  text.remove_prefix(start);
  const size_t length = DecimalPrefix(text);
  if (length == 0) return 0;
  // strtod sees only the decimal digits, so both C libraries read the same.
  const std::string number(text.substr(0, length));
  const double value = std::strtod(number.c_str(), nullptr);
  // Out of the float range reads as the largest float, never as infinity.
  if (value > FLT_MAX) return FLT_MAX;
  if (value < -FLT_MAX) return -FLT_MAX;
  return static_cast<float>(value);
}

std::string FormatNumericValue(float value, NumericFormat format) {
  char text[64];
  switch (format) {
    case NumericFormat::kOneDecimal:
      std::snprintf(text, sizeof text, "%4.1f", static_cast<double>(value));
      break;
    case NumericFormat::kTwoDecimals:
      std::snprintf(text, sizeof text, "%4.2f", static_cast<double>(value));
      break;
    case NumericFormat::kInteger:
    default: {
      // Truncation of a value outside the int range is undefined; such a
      // value shows as the nearest int.
      int whole;
      if (value >= 2147483648.0f) {
        whole = INT_MAX;
      } else if (value < -2147483648.0f) {
        whole = INT_MIN;
      } else {
        whole = static_cast<int>(value);
      }
      std::snprintf(text, sizeof text, "%d", whole);
      break;
    }
  }
  return text;
}

std::optional<std::string> StepNumericText(std::string_view text, const NumericEditRule& rule,
                                           SpinDirection direction) {
  float value = ParseNumericText(text);
  if (direction == SpinDirection::kUp) {
    if (!(value < rule.maximum)) return std::nullopt;
    value = static_cast<float>(value + rule.step);
  } else {
    if (!(value > rule.minimum)) return std::nullopt;
    value = static_cast<float>(value - rule.step);
  }
  return FormatNumericValue(value, rule.format);
}

}  // namespace orvalen
