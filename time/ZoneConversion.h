#pragma once
// Turns UTC times into the local time of a zone, daylight saving included.
//
// A transition rule (SYSTEMTIME) reads: wMonth 0, no such transition; wYear 0, every year in
// month wMonth on the wDay-th (1..4, or 5 for the last) weekday wDayOfWeek (0 = Sunday) at
// wHour:wMinute:wSecond.wMilliseconds; wYear not 0, once, on that date, in that year only.
// DaylightDate's time is local standard time, StandardDate's is local daylight time.

#include "time/Calendar.h"
#include "time/TimeZoneInformation.h"

namespace skelmar {

// The transition of `rule` in `year`, or 0 when the rule gives none for that year. A yearly
// rule whose wDay is outside 1..5 gives only its time of day (a value on day 0).
// Throws the EncodeDate / EncodeTime errors for a rule whose fields are out of range.
TDateTime TransitionDate(const SYSTEMTIME& rule, std::uint16_t year);

// True when a and b differ by less than a tenth of a millisecond.
bool SameTime(TDateTime a, TDateTime b);

// The local time of `utc` in `zone`, by the rules of the year of `utc`. A zone without
// daylight time (either rule's month 0), or whose rules give no transition that year,
// converts with Bias alone. Throws as TransitionDate does; a zone without daylight time
// never throws.
TDateTime UtcToZoneLocal(const TIME_ZONE_INFORMATION& zone, TDateTime utc);

}  // namespace skelmar
