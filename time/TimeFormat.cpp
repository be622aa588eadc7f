#include "time/TimeFormat.h"

#include <algorithm>
#include <cctype>
#include <cmath>
#include <cstdint>

#include "time/ZoneConversion.h"

namespace skelmar {

namespace {

constexpr std::int64_t kMsPerDay = 86400000;

// A TDateTime split into calendar fields. The value is first rounded to the millisecond,
// so that 7:00 reached as 0.2916666... prints as 7:00 and not 6:59; the date comes from the
// same rounded value, so a time that rounds up to midnight carries its date along.
struct Fields {
    std::uint16_t year, month, day;
    int hour, minute;
    int weekday;  // 1 = Sunday
};

std::int64_t RoundedMilliseconds(TDateTime t)
{
    if (std::isnan(t))
        return 0;
    // Far outside the calendar's years the fields carry no meaning; keep the arithmetic defined.
    t = std::clamp(t, -1.0e8, 1.0e8);
    return std::llround(t * static_cast<double>(kMsPerDay));
}

Fields Decode(TDateTime t)
{
    const std::int64_t ms = RoundedMilliseconds(t);
    const TDateTime day = static_cast<double>(ms / kMsPerDay);  // truncated toward zero
    const std::int64_t timeOfDay = (ms < 0 ? -ms : ms) % kMsPerDay;
    Fields f{};
    DecodeDayNumber(day, f.year, f.month, f.day);
    f.hour = static_cast<int>(timeOfDay / 3600000);
    f.minute = static_cast<int>(timeOfDay / 60000 % 60);
    f.weekday = DayOfWeek(day);
    return f;
}

void AppendNumber(std::string& out, int value, int minDigits)
{
    std::string digits = std::to_string(value);
    if (static_cast<int>(digits.size()) < minDigits)
        out.append(static_cast<std::size_t>(minDigits) - digits.size(), '0');
    out += digits;
}

char Lower(char c)
{
    return static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
}

bool StartsWithAmPm(std::string_view s)
{
    if (s.size() < 5)
        return false;
    constexpr std::string_view kAmPm = "am/pm";
    for (std::size_t i = 0; i < kAmPm.size(); ++i)
        if (Lower(s[i]) != kAmPm[i])
            return false;
    return true;
}

// An h or hh prints the 12-hour clock when "am/pm" follows it with no other h in between;
// quoted text is literal and neither ends nor satisfies the search.
bool TwelveHourClockAhead(std::string_view rest)
{
    for (std::size_t i = 0; i < rest.size(); ++i) {
        if (rest[i] == '"' || rest[i] == '\'') {
            const std::size_t close = rest.find(rest[i], i + 1);
            if (close == std::string_view::npos)
                return false;
            i = close;
            continue;
        }
        if (Lower(rest[i]) == 'h')
            return false;
        if (StartsWithAmPm(rest.substr(i)))
            return true;
    }
    return false;
}

// Copies the case of the pattern's letters onto "am" or "pm".
std::string AmPmText(std::string_view spec, bool afternoon)
{
    const std::string_view letters = afternoon ? spec.substr(3, 2) : spec.substr(0, 2);
    std::string text = afternoon ? "pm" : "am";
    for (std::size_t i = 0; i < 2; ++i)
        if (std::isupper(static_cast<unsigned char>(letters[i])))
            text[i] = static_cast<char>(std::toupper(static_cast<unsigned char>(text[i])));
    return text;
}

std::string_view Pattern(const FormatSettings& settings, bool shortDate)
{
    return shortDate ? settings.ShortDateFormat : settings.LongDateFormat;
}

}  // namespace

std::string FormatDateTime(std::string_view pattern, TDateTime t, const FormatSettings& settings)
{
    const Fields f = Decode(t);
    std::string out;
    std::size_t i = 0;
    while (i < pattern.size()) {
        const char c = pattern[i];
        const char lower = Lower(c);
        if (c == '"' || c == '\'') {
            const std::size_t close = pattern.find(c, i + 1);
            const std::size_t end = close == std::string_view::npos ? pattern.size() : close;
            out.append(pattern.substr(i + 1, end - i - 1));
            i = end == pattern.size() ? end : end + 1;
            continue;
        }
        if (lower == 'a' && StartsWithAmPm(pattern.substr(i))) {
            out += AmPmText(pattern.substr(i, 5), f.hour >= 12);
            i += 5;
            continue;
        }
        if (c == '/') {
            out += settings.DateSeparator;
            ++i;
            continue;
        }
        if (c == ':') {
            out += settings.TimeSeparator;
            ++i;
            continue;
        }
        if (lower != 'd' && lower != 'm' && lower != 'y' && lower != 'h' && lower != 'n') {
            out += c;
            ++i;
            continue;
        }
        // A run of one specifier letter, in either case.
        std::size_t run = 1;
        while (i + run < pattern.size() && Lower(pattern[i + run]) == lower)
            ++run;
        i += run;
        switch (lower) {
        case 'd':
            if (run == 1)
                AppendNumber(out, f.day, 1);
            else if (run == 2)
                AppendNumber(out, f.day, 2);
            else if (run == 3)
                out += settings.ShortDayNames[static_cast<std::size_t>(f.weekday - 1)];
            else
                out += settings.LongDayNames[static_cast<std::size_t>(f.weekday - 1)];
            break;
        case 'm':
            if (f.month < 1 || f.month > 12)
                break;  // only outside the calendar's years
            if (run == 1)
                AppendNumber(out, f.month, 1);
            else if (run == 2)
                AppendNumber(out, f.month, 2);
            else if (run == 3)
                out += settings.ShortMonthNames[f.month - 1u];
            else
                out += settings.LongMonthNames[f.month - 1u];
            break;
        case 'y':
            if (run <= 2)
                AppendNumber(out, f.year % 100, 2);
            else
                AppendNumber(out, f.year, 4);
            break;
        case 'h': {
            int hour = f.hour;
            if (TwelveHourClockAhead(pattern.substr(i))) {
                hour %= 12;
                if (hour == 0)
                    hour = 12;
            }
            AppendNumber(out, hour, run == 1 ? 1 : 2);
            break;
        }
        case 'n':
            AppendNumber(out, f.minute, run == 1 ? 1 : 2);
            break;
        }
    }
    return out;
}

std::string FormatForecastTime(bool shortDate, TDateTime t, const TimeTextContext& context)
{
    std::string pattern(Pattern(context.settings, shortDate));
    if (context.timeType == TimeType::Zulu) {
        pattern += " hhnn \"Zulu\"";
    } else {
        t = UtcToZoneLocal(context.zone, t);
        pattern += " h:nn am/pm \"local\"";
    }
    return FormatDateTime(pattern, t, context.settings);
}

TimeLabelCaptions ComputeTimeLabelCaptions(TDateTime baseTime, std::string_view stationText,
                                           const TimeTextContext& context,
                                           TDateTime lastLabelTime)
{
    const bool zulu = context.timeType == TimeType::Zulu;
    const std::string withDate =
        context.settings.ShortDateFormat + (zulu ? " hhnn" : " hh:nn am/pm");
    const std::string timeAlone = zulu ? "hhnn" : "h:nn am/pm";

    // The calendar day as printed: of the value rounded to the millisecond.
    const auto printedDay = [](TDateTime t) { return RoundedMilliseconds(t) / kMsPerDay; };

    TimeLabelCaptions captions;
    for (std::size_t k = 0; k < captions.timeLabels.size(); ++k) {
        const int hours = 6 * static_cast<int>(k + 1);
        TDateTime t = baseTime + hours / 24.0;
        if (!zulu)
            t = UtcToZoneLocal(context.zone, t);
        const bool showDate = k == 0 || printedDay(t) != printedDay(lastLabelTime);
        captions.timeLabels[k] = FormatDateTime(showDate ? withDate : timeAlone, t, context.settings);
        if (showDate)
            captions.timeLabelDates[k] = FormatDateTime(context.settings.ShortDateFormat, t, context.settings);
        lastLabelTime = t;
    }
    captions.lastLabelTime = lastLabelTime;

    const std::string station(stationText);
    captions.labelForecast =
        "Forecast: " + FormatForecastTime(false, baseTime, context) + ", " + station + " station.";
    captions.placeTime =
        "Time of forecast: " + FormatForecastTime(true, baseTime, context) + " for " + station + ".   ";
    return captions;
}

}  // namespace skelmar
