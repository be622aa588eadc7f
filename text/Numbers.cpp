#include "text/Numbers.h"

#include <charconv>
#include <string>

#include "text/Error.h"

namespace skelmar {

std::optional<int> ParseInteger(std::string_view text)
{
    std::size_t i = 0;
    bool negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) {
        negative = text[i] == '-';
        ++i;
    }
    if (i == text.size())
        return std::nullopt;
    // Accumulate as a negative number so that the most negative int is reachable.
    long long value = 0;
    for (; i < text.size(); ++i) {
        const char c = text[i];
        if (c < '0' || c > '9')
            return std::nullopt;
        value = value * 10 - (c - '0');
        if (value < -2147483648LL)
            return std::nullopt;
    }
    if (!negative) {
        if (value < -2147483647LL)
            return std::nullopt;
        value = -value;
    }
    return static_cast<int>(value);
}

int StrToInt(std::string_view text)
{
    if (const auto value = ParseInteger(text))
        return *value;
    throw Error("'" + std::string(text) + "' is not a valid integer value");
}

int StrToIntDef(std::string_view text, int fallback)
{
    return ParseInteger(text).value_or(fallback);
}

}  // namespace skelmar
