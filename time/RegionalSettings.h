#pragma once
// The regional date settings of the locale, in the shape the formatter wants.

#include <array>
#include <optional>
#include <string>
#include <string_view>

#include "time/TimeFormat.h"

namespace skelmar {

// The settings of the process's locale (LC_TIME), or the defaults of FormatSettings where it
// gives none; a C or POSIX locale gives none.
FormatSettings SystemFormatSettings();

// What a locale tells about dates, as the C library gives it (strftime patterns, names in
// the locale's encoding converted to UTF-8).
struct LocaleTimeData {
    std::string dateFormat;  // e.g. "%m/%d/%y"
    std::string timeFormat;  // e.g. "%H:%M:%S"
    std::array<std::string, 12> shortMonths, longMonths;
    std::array<std::string, 7> shortDays, longDays;  // Sunday first
};

// The settings that `data` describes. A date pattern the formatter cannot express (a
// directive other than day, month, year and their names) keeps the default patterns; names
// are converted to code page 1252; the long date pattern follows the order of the short one
// ("mmmm d, yyyy", "d mmmm yyyy" or "yyyy mmmm d").
FormatSettings FormatSettingsFromLocale(const LocaleTimeData& data);

// The strftime date pattern as a formatter pattern, or nullopt when it holds a directive the
// formatter cannot express. The first literal character between two fields becomes the date
// separator; it is written "/" in the pattern. Letters are quoted.
struct ConvertedDatePattern {
    std::string pattern;
    char separator = '/';
};
std::optional<ConvertedDatePattern> ConvertStrftimeDate(std::string_view strftimePattern);

}  // namespace skelmar
