#pragma once
// The POSIX TZ string that ends a TZif file of version 2 or later and gives the zone's rule
// after its last recorded transition, e.g. "EST5EDT,M3.2.0,M11.1.0" or
// "<+1030>-10:30<+11>-11,M10.1.0,M4.1.0".
//
// Only the part that a yearly weekday rule can hold is accepted: transitions written as
// "Mm.w.d", at a time of day from 0 to 24 hours. Julian-day rules ("Jn", "n"), times outside
// that range (allowed since TZif version 3, e.g. "/25" or "/-1"), a daylight name without
// transition rules, and a leading ":" are refused.

#include <optional>
#include <string>
#include <string_view>

namespace skelmar {

// One change of the yearly rule: the week-th (1..4, or 5 for the last) weekday (0 = Sunday)
// of month (1..12), at `time` seconds after local midnight (0..86400). The time of the
// change into daylight time is local standard time; that of the change back is local
// daylight time.
struct PosixTransition {
    int month = 0;
    int week = 0;
    int weekday = 0;
    int time = 0;
    bool operator==(const PosixTransition&) const = default;
};

struct PosixTimeZone {
    std::string stdAbbr;    // without the angle brackets of the quoted form
    int stdOffset = 0;      // seconds east of UTC (the string itself counts west)
    std::string dstAbbr;    // empty: the zone keeps no daylight time
    int dstOffset = 0;      // seconds east of UTC; with no daylight time, equal to stdOffset
    PosixTransition dstStart;
    PosixTransition dstEnd;
    bool operator==(const PosixTimeZone&) const = default;
};

// Parses a whole TZ string:
//   spec   = std offset [dst [offset] "," start ["/" time] "," end ["/" time]]
//   std, dst = 3 or more letters, or "<" 3 or more of letters, digits, "+", "-" ">"
//   offset = ["+"|"-"] hh[":"mm[":"ss]] with hh 0..24, positive west of Greenwich
//   start, end = "M" m "." w "." d
//   time   = ["+"|"-"] hh[":"mm[":"ss]], from 0 to 24 hours in all
// A missing daylight offset means one hour ahead of standard time; a missing time, 02:00.
// std::nullopt when the text does not follow the grammar, leaves input unread, or uses a
// form outside it (see above). Never throws.
std::optional<PosixTimeZone> ParsePosixSpec(std::string_view spec);

}  // namespace skelmar
