#include "time/Calendar.h"

#include <climits>
#include <cmath>
#include <cstdint>

#include "text/Error.h"

namespace skelmar {

namespace {

constexpr int kDaysBefore1900 = 693594;  // days from 1 January 0001 to 30 December 1899
constexpr std::uint16_t kMonthDays[2][12] = {
    {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31},
    {31, 29, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31},
};

}  // namespace

bool IsLeapYear(std::uint16_t year)
{
    return year % 4 == 0 && (year % 100 != 0 || year % 400 == 0);
}

int DayNumber(TDateTime t)
{
    if (std::isnan(t))
        return 0;
    if (t >= static_cast<double>(INT_MAX))
        return INT_MAX;
    if (t <= static_cast<double>(INT_MIN))
        return INT_MIN;
    return static_cast<int>(t);  // truncates toward zero
}

void DecodeDayNumber(TDateTime t, std::uint16_t& year, std::uint16_t& month, std::uint16_t& day)
{
    // 64-bit so that day numbers far outside 0001..9999 stay defined; inside it every value
    // fits 32 bits. Divisions truncate toward zero.
    const std::int64_t n = DayNumber(t);
    std::int64_t j = 4 * (n + 693900) - 1;  // days * 4 since 1 March of year 0
    const std::int64_t c = j / 146097;      // 400-year cycles
    std::int64_t d = (j - 146097 * c) / 4;  // [0, 146096] day within the cycle
    const std::int64_t y = (4 * d + 3) / 1461;
    d = (4 * d + 7 - 1461 * y) / 4;          // [1, 366] day within the March-based year
    const std::int64_t m = (5 * d - 3) / 153;  // [0, 11] months since March
    d = (5 * d + 2 - 153 * m) / 5;           // [1, 31]
    std::int64_t fullYear = 100 * c + y;
    std::int64_t fullMonth;
    if (m < 10) {
        fullMonth = m + 3;
    } else {
        fullMonth = m - 9;
        ++fullYear;
    }
    year = static_cast<std::uint16_t>(fullYear);
    month = static_cast<std::uint16_t>(fullMonth);
    day = static_cast<std::uint16_t>(d);
}

std::uint16_t YearOf(TDateTime t)
{
    std::uint16_t y, m, d;
    DecodeDayNumber(t, y, m, d);
    return y;
}

std::uint16_t MonthOf(TDateTime t)
{
    std::uint16_t y, m, d;
    DecodeDayNumber(t, y, m, d);
    return m;
}

int DaysInMonth(TDateTime t)
{
    switch (MonthOf(t)) {
    case 2: return IsLeapYear(YearOf(t)) ? 29 : 28;
    case 4:
    case 6:
    case 9:
    case 11: return 30;
    default: return 31;
    }
}

TDateTime EncodeDate(std::uint16_t year, std::uint16_t month, std::uint16_t day)
{
    if (year < 1 || year > 9999 || month < 1 || month > 12)
        throw Error("Invalid argument to date encode");
    const std::uint16_t* lengths = kMonthDays[IsLeapYear(year) ? 1 : 0];
    if (day < 1 || day > lengths[month - 1])
        throw Error("Invalid argument to date encode");
    int dayOfYear = day;  // [1, 366]
    for (int i = 0; i < month - 1; ++i)
        dayOfYear += lengths[i];
    const int p = year - 1;
    return p * 365 + p / 4 - p / 100 + p / 400 + dayOfYear - kDaysBefore1900;
}

TDateTime EncodeTime(std::uint16_t hour, std::uint16_t minute, std::uint16_t second,
                     std::uint16_t millisecond)
{
    if (hour >= 24 || minute >= 60 || second >= 60 || millisecond >= 1000)
        throw Error("Invalid argument to time encode");
    return (hour * 3600000.0 + minute * 60000.0 + second * 1000.0 + millisecond) / 86400000.0;
}

int DayOfWeek(TDateTime t)
{
    const std::int64_t shifted = (static_cast<std::int64_t>(DayNumber(t)) + kDaysBefore1900) % 7;
    return static_cast<int>(shifted < 0 ? shifted + 7 : shifted) + 1;
}

}  // namespace skelmar
