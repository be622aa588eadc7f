#pragma once
// Texts of forecast times: the TDateTime pattern formatter with the regional settings, the
// forecast time texts in Local or Zulu, and the captions of the time scale.

#include <array>
#include <string>
#include <string_view>

#include "time/Calendar.h"
#include "time/TimeZoneInformation.h"

namespace skelmar {

// The regional settings that the formatter uses; code page 1252 text.
struct FormatSettings {
    std::string ShortDateFormat = "m/d/yy";
    std::string LongDateFormat = "mmmm d, yyyy";
    char DateSeparator = '/';
    char TimeSeparator = ':';
    std::array<std::string, 12> ShortMonthNames = {"Jan", "Feb", "Mar", "Apr", "May", "Jun",
                                                   "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};
    std::array<std::string, 12> LongMonthNames = {"January", "February", "March", "April",
                                                  "May", "June", "July", "August",
                                                  "September", "October", "November", "December"};
    std::array<std::string, 7> ShortDayNames = {"Sun", "Mon", "Tue", "Wed", "Thu", "Fri", "Sat"};
    std::array<std::string, 7> LongDayNames = {"Sunday", "Monday", "Tuesday", "Wednesday",
                                               "Thursday", "Friday", "Saturday"};
};

// `t` written by `pattern`, read from left to right. Specifiers (letters in either case):
// d dd ddd dddd (day, with zero, short and long weekday name), m mm mmm mmmm (month likewise),
// yy yyyy (year in two or four digits), h hh (hour), nn (minute), "/" and ":" (the regional
// separators), am/pm ("am" or "pm"; an h or hh before it, with no other h between, prints the
// 12-hour clock), and text in double or single quotes, copied without the quotes. Every
// other character is copied. Never fails.
std::string FormatDateTime(std::string_view pattern, TDateTime t, const FormatSettings& settings);

// The item index of the time type selector.
enum class TimeType { Local = 0, Zulu = 1 };

// What every forecast time text depends on besides the time itself.
struct TimeTextContext {
    TimeType timeType = TimeType::Zulu;
    TIME_ZONE_INFORMATION zone;  // StationTimeZone
    FormatSettings settings;
};

// The text of the UTC time `t`: converted to the station's local time for Local, then
// written with the short or long date pattern followed by " hhnn \"Zulu\"" (Zulu) or
// " h:nn am/pm \"local\"" (Local). Throws as UtcToZoneLocal does.
std::string FormatForecastTime(bool shortDate, TDateTime t, const TimeTextContext& context);

// The captions that the time scale shows for one bulletin.
struct TimeLabelCaptions {
    // LabelTime06, LabelTime12 .. LabelTime60: base time + 6, 12 .. 60 hours.
    std::array<std::string, 10> timeLabels;
    // The date that begins each label, before the blank that separates it from the time;
    // "" for a label that shows the time alone. Lets a narrow axis put the date on a line
    // of its own.
    std::array<std::string, 10> timeLabelDates;
    std::string labelForecast;   // "Forecast: <long time>, <station> station."
    std::string placeTime;       // "Time of forecast: <short time> for <station>.   "
    TDateTime lastLabelTime = 0; // the time of the label filled last
};

// The captions for `baseTime` (ForecastBaseTime). A label shows its date when it is
// LabelTime06 or its calendar day differs from that of the label before it (for the first,
// `lastLabelTime`); otherwise the time alone. `stationText` is the station's display text.
TimeLabelCaptions ComputeTimeLabelCaptions(TDateTime baseTime, std::string_view stationText,
                                           const TimeTextContext& context,
                                           TDateTime lastLabelTime);

}  // namespace skelmar
