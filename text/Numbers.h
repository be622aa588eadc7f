#pragma once
// Conversions of bulletin and configuration texts to numbers, with the program's message
// for a text that is not a number.

#include <optional>
#include <string_view>

namespace skelmar {

// A whole number written as an optional sign followed by one or more decimal digits, within
// the 32-bit signed range; nothing else (no blanks, no hex). std::nullopt otherwise.
std::optional<int> ParseInteger(std::string_view text);

// ParseInteger, or throws Error("'<text>' is not a valid integer value").
int StrToInt(std::string_view text);

// ParseInteger, or `fallback`.
int StrToIntDef(std::string_view text, int fallback);

}  // namespace skelmar
