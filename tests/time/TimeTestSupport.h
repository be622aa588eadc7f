#pragma once
// Builders shared by the time tests.

#include <cstdint>

#include "time/Calendar.h"
#include "time/TimeZoneInformation.h"

namespace skelmar::testing {

inline TDateTime At(int y, int mo, int d, int h, int mi = 0)
{
    return EncodeDate(static_cast<std::uint16_t>(y), static_cast<std::uint16_t>(mo),
                      static_cast<std::uint16_t>(d)) +
           EncodeTime(static_cast<std::uint16_t>(h), static_cast<std::uint16_t>(mi), 0, 0);
}

// A yearly rule (wYear 0) or, with `year`, a single change in that year.
inline SYSTEMTIME Rule(int month, int day, int weekday, int hour, int year = 0)
{
    SYSTEMTIME rule;
    rule.wYear = static_cast<std::uint16_t>(year);
    rule.wMonth = static_cast<std::uint16_t>(month);
    rule.wDayOfWeek = static_cast<std::uint16_t>(weekday);
    rule.wDay = static_cast<std::uint16_t>(day);
    rule.wHour = static_cast<std::uint16_t>(hour);
    return rule;
}

// US Eastern time: daylight from the second Sunday of March 2:00 to the first Sunday of
// November 2:00.
inline TIME_ZONE_INFORMATION Eastern()
{
    TIME_ZONE_INFORMATION zone;
    zone.Bias = 300;
    zone.DaylightBias = -60;
    zone.DaylightDate = Rule(3, 2, 0, 2);
    zone.StandardDate = Rule(11, 1, 0, 2);
    return zone;
}

}  // namespace skelmar::testing
