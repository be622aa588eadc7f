#include "time/ZoneConversion.h"

#include <algorithm>
#include <cmath>

namespace skelmar {

namespace {

TDateTime TimeOfDay(const SYSTEMTIME& rule)
{
    return EncodeTime(rule.wHour, rule.wMinute, rule.wSecond, rule.wMilliseconds);
}

// The day of month of the wDay-th weekday of the rule (wDay 5: the last one); 0 when wDay is
// outside 1..5. The result may lie beyond the month when the rule's weekday is out of range;
// EncodeDate then refuses it.
int WeekdayRuleDay(const SYSTEMTIME& rule, std::uint16_t year)
{
    const int wanted = rule.wDayOfWeek + 1;  // 1 = Sunday, as DayOfWeek counts
    const TDateTime first = EncodeDate(year, rule.wMonth, 1);
    if (rule.wDay >= 1 && rule.wDay <= 4) {
        int firstOccurrence = wanted + 1 - DayOfWeek(first);
        if (firstOccurrence <= 0)
            firstOccurrence += 7;
        return firstOccurrence + 7 * (rule.wDay - 1);
    }
    if (rule.wDay == 5) {
        const int length = DaysInMonth(first);
        const int lastWeekday = DayOfWeek(first + length - 1);
        int day = length + wanted - lastWeekday;
        if (day > length)
            day -= 7;
        return day;
    }
    return 0;
}

}  // namespace

TDateTime TransitionDate(const SYSTEMTIME& rule, std::uint16_t year)
{
    if (rule.wMonth == 0)
        return 0;
    if (rule.wYear == 0) {
        const int day = WeekdayRuleDay(rule, year);
        if (day == 0)
            return TimeOfDay(rule);
        // Out-of-range days are refused by EncodeDate, as for a fixed date.
        const auto encodedDay = static_cast<std::uint16_t>(std::max(0, std::min(day, 65535)));
        return EncodeDate(year, rule.wMonth, encodedDay) + TimeOfDay(rule);
    }
    if (rule.wYear != year)
        return 0;
    return EncodeDate(rule.wYear, rule.wMonth, rule.wDay) + TimeOfDay(rule);
}

bool SameTime(TDateTime a, TDateTime b)
{
    return std::fabs(a - b) < 1.0 / 864000000.0;
}

TDateTime UtcToZoneLocal(const TIME_ZONE_INFORMATION& zone, TDateTime utc)
{
    const std::uint16_t year = YearOf(utc);
    const TDateTime standardOnly = utc - zone.Bias / 1440.0;
    if (zone.DaylightDate.wMonth == 0 || zone.StandardDate.wMonth == 0)
        return standardOnly;

    const TDateTime daylightStart = TransitionDate(zone.DaylightDate, year);
    const TDateTime standardStart = TransitionDate(zone.StandardDate, year);
    if (daylightStart == 0 || standardStart == 0)
        return standardOnly;

    const int standardBias = zone.Bias + zone.StandardBias;
    const int daylightBias = zone.Bias + zone.DaylightBias;
    // Both transitions in UTC: DaylightDate is written in standard time, StandardDate in
    // daylight time.
    const TDateTime s = daylightStart + standardBias / 1440.0;
    const TDateTime e = standardStart + daylightBias / 1440.0;

    bool daylight;
    if (s < e)  // daylight time inside the calendar year (northern hemisphere)
        daylight = (utc > s || SameTime(utc, s)) && utc < e;
    else        // standard time inside the calendar year (southern hemisphere)
        daylight = !((utc > e || SameTime(utc, e)) && utc < s);
    return utc - (daylight ? daylightBias : standardBias) / 1440.0;
}

}  // namespace skelmar
