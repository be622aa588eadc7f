#include "time/PosixTimeZone.h"

namespace skelmar {

namespace {

constexpr int kSecondsPerHour = 60 * 60;
constexpr int kSecondsPerDay = 24 * kSecondsPerHour;

bool IsDigit(char c) { return c >= '0' && c <= '9'; }
bool IsLetter(char c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z'); }

// Removes `c` from the front of `in` when it is there.
bool Take(std::string_view& in, char c)
{
    if (in.empty() || in.front() != c)
        return false;
    in.remove_prefix(1);
    return true;
}

// digits = one or more decimal digits whose value lies in [min, max].
// The running value never exceeds max, so it cannot overflow.
bool ParseInt(std::string_view& in, int min, int max, int& value)
{
    std::size_t n = 0;
    int v = 0;
    while (n < in.size() && IsDigit(in[n])) {
        v = v * 10 + (in[n] - '0');
        if (v > max)
            return false;
        ++n;
    }
    if (n == 0 || v < min)
        return false;
    in.remove_prefix(n);
    value = v;
    return true;
}

// abbr = "<" [A-Za-z0-9+-]{3,} ">" | [A-Za-z]{3,}
bool ParseAbbr(std::string_view& in, std::string& abbr)
{
    if (Take(in, '<')) {
        std::size_t n = 0;
        while (n < in.size() && (IsLetter(in[n]) || IsDigit(in[n]) || in[n] == '+' || in[n] == '-'))
            ++n;
        if (n < 3 || n >= in.size() || in[n] != '>')
            return false;
        abbr.assign(in.substr(0, n));
        in.remove_prefix(n + 1);
        return true;
    }
    std::size_t n = 0;
    while (n < in.size() && IsLetter(in[n]))
        ++n;
    if (n < 3)
        return false;
    abbr.assign(in.substr(0, n));
    in.remove_prefix(n);
    return true;
}

// hms = ["+"|"-"] hh [":" mm [":" ss]], hh in [0, maxHours], mm and ss in [0, 59];
// `seconds` gets the signed total as written.
bool ParseHms(std::string_view& in, int maxHours, int& seconds)
{
    int sign = 1;
    if (Take(in, '-'))
        sign = -1;
    else
        Take(in, '+');
    int hours = 0;
    int minutes = 0;
    int secs = 0;
    if (!ParseInt(in, 0, maxHours, hours))
        return false;
    if (Take(in, ':')) {
        if (!ParseInt(in, 0, 59, minutes))
            return false;
        if (Take(in, ':') && !ParseInt(in, 0, 59, secs))
            return false;
    }
    seconds = sign * (hours * kSecondsPerHour + minutes * 60 + secs);
    return true;
}

// offset = hms with hh in [0, 24]; the string counts west, the result east.
bool ParseOffset(std::string_view& in, int& secondsEast)
{
    int west = 0;
    if (!ParseHms(in, 24, west))
        return false;
    secondsEast = -west;
    return true;
}

// rule = "," "M" m "." w "." d ["/" time], m in [1, 12], w in [1, 5], d in [0, 6].
// The time is read with hours up to 167, as TZif version 3 allows, and then held to
// [0, 24] hours, the range a yearly weekday rule can hold.
bool ParseTransition(std::string_view& in, PosixTransition& rule)
{
    if (!Take(in, ',') || !Take(in, 'M'))
        return false;  // also Julian-day rules "Jn" and "n"
    if (!ParseInt(in, 1, 12, rule.month) || !Take(in, '.') || !ParseInt(in, 1, 5, rule.week) ||
        !Take(in, '.') || !ParseInt(in, 0, 6, rule.weekday))
        return false;
    rule.time = 2 * kSecondsPerHour;
    if (Take(in, '/')) {
        if (!ParseHms(in, 167, rule.time))
            return false;
        if (rule.time < 0 || rule.time > kSecondsPerDay)
            return false;
    }
    return true;
}

}  // namespace

std::optional<PosixTimeZone> ParsePosixSpec(std::string_view spec)
{
    PosixTimeZone zone;
    std::string_view in = spec;
    if (!ParseAbbr(in, zone.stdAbbr) || !ParseOffset(in, zone.stdOffset))
        return std::nullopt;
    zone.dstOffset = zone.stdOffset;
    if (in.empty())
        return zone;

    if (!ParseAbbr(in, zone.dstAbbr))
        return std::nullopt;
    zone.dstOffset = zone.stdOffset + kSecondsPerHour;
    if (!in.empty() && in.front() != ',' && !ParseOffset(in, zone.dstOffset))
        return std::nullopt;
    if (!ParseTransition(in, zone.dstStart) || !ParseTransition(in, zone.dstEnd) || !in.empty())
        return std::nullopt;
    return zone;
}

}  // namespace skelmar
