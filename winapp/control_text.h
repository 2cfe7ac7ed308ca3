#pragma once
// Reading numbers out of the text of a control, without the platform.
#include <optional>
#include <string_view>

namespace orvalen {

// The signed decimal number `text` holds: blanks (space, tab) around it are
// allowed, one '+' or '-' before the digits, nothing else. Nothing when the
// text holds no such number or the number does not fit an int.
std::optional<int> ParseControlInt(std::string_view text);

}  // namespace orvalen
