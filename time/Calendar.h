#pragma once
// Calendar arithmetic on TDateTime day numbers (proleptic Gregorian calendar).

#include <cstdint>

namespace skelmar {

// Whole days since 30 December 1899 (day 0); the fraction is the time of day. H hours are
// added as H / 24, a bias of B minutes as B / 1440.
using TDateTime = double;

bool IsLeapYear(std::uint16_t year);

// The day number: the value truncated toward zero (clamped to the int range, NaN gives 0).
int DayNumber(TDateTime t);

// Year, month and day of the day number of `t`. Right for 1 January 0001 .. 31 December 9999;
// outside that range the fields carry no meaning (but the call is still defined).
void DecodeDayNumber(TDateTime t, std::uint16_t& year, std::uint16_t& month, std::uint16_t& day);
std::uint16_t YearOf(TDateTime t);
std::uint16_t MonthOf(TDateTime t);

// 28..31: the length of the month that holds `t`.
int DaysInMonth(TDateTime t);

// The day number of a date, with zero fraction. Throws Error("Invalid argument to date
// encode") unless 1 <= year <= 9999, 1 <= month <= 12 and 1 <= day <= the month's length.
TDateTime EncodeDate(std::uint16_t year, std::uint16_t month, std::uint16_t day);

// The fraction of a day. Throws Error("Invalid argument to time encode") unless hour < 24,
// minute < 60, second < 60 and millisecond < 1000.
TDateTime EncodeTime(std::uint16_t hour, std::uint16_t minute, std::uint16_t second,
                     std::uint16_t millisecond);

// 1 = Sunday .. 7 = Saturday; day 0 is a Saturday.
int DayOfWeek(TDateTime t);

}  // namespace skelmar
