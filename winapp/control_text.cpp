#include "winapp/control_text.h"

#include <climits>

namespace orvalen {

std::optional<int> ParseControlInt(std::string_view text) {
  auto blank = [](char c) { return c == ' ' || c == '\t'; };
  size_t begin = 0;
  size_t end = text.size();
  while (begin < end && blank(text[begin])) ++begin;
  while (end > begin && blank(text[end - 1])) --end;
  bool negative = false;
  if (begin < end && (text[begin] == '-' || text[begin] == '+')) {
    negative = text[begin] == '-';
    ++begin;
  }
  if (begin == end) return std::nullopt;
  // Accumulated as a negative number, which reaches INT_MIN.
  long long value = 0;
  for (size_t i = begin; i < end; ++i) {
    const char c = text[i];
    if (c < '0' || c > '9') return std::nullopt;
    value = value * 10 - (c - '0');
    if (value < static_cast<long long>(INT_MIN)) return std::nullopt;
  }
  if (!negative) {
    if (-value > INT_MAX) return std::nullopt;
    return static_cast<int>(-value);
  }
  return static_cast<int>(value);
}

}  // namespace orvalen
