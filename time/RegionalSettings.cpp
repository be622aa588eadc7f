#include "time/RegionalSettings.h"

#include <langinfo.h>
#include <locale.h>

#include <cctype>
#include <cstdlib>

#include "text/Cp1252.h"

namespace skelmar {

namespace {

// The locale that LC_TIME of a process started now would get: LC_ALL, LC_TIME, LANG.
std::string EnvironmentTimeLocale()
{
    for (const char* name : {"LC_ALL", "LC_TIME", "LANG"}) {
        const char* value = std::getenv(name);
        if (value != nullptr && *value != '\0')
            return value;
    }
    return "C";
}

bool IsPlainCLocale(std::string_view name)
{
    return name == "C" || name == "POSIX" || name.starts_with("C.");
}

std::string NameText(std::string_view utf8)
{
    return Utf8ToCp1252(utf8);
}

}  // namespace

std::optional<ConvertedDatePattern> ConvertStrftimeDate(std::string_view in)
{
    ConvertedDatePattern result;
    bool separatorFound = false;
    bool afterField = false;
    for (std::size_t i = 0; i < in.size(); ++i) {
        const char c = in[i];
        if (c != '%') {
            if (afterField && !separatorFound) {
                result.separator = c;
                separatorFound = true;
            }
            if (separatorFound && c == result.separator)
                result.pattern += '/';
            else if (std::isalpha(static_cast<unsigned char>(c)) || c == '"' || c == '\'')
                result.pattern += std::string("\"") + c + "\"";
            else
                result.pattern += c;
            continue;
        }
        if (++i == in.size())
            return std::nullopt;
        bool noPad = false;
        if (in[i] == '-' || in[i] == '_') {  // glibc flags: no padding
            noPad = true;
            if (++i == in.size())
                return std::nullopt;
        }
        switch (in[i]) {
        case 'd': result.pattern += noPad ? "d" : "dd"; break;
        case 'e': result.pattern += "d"; break;
        case 'm': result.pattern += noPad ? "m" : "mm"; break;
        case 'y': result.pattern += "yy"; break;
        case 'Y': result.pattern += "yyyy"; break;
        case 'b':
        case 'h': result.pattern += "mmm"; break;
        case 'B': result.pattern += "mmmm"; break;
        case 'a': result.pattern += "ddd"; break;
        case 'A': result.pattern += "dddd"; break;
        case 'D': result.pattern += "mm/dd/yy"; separatorFound = true; break;
        case 'F': result.pattern += "yyyy/mm/dd"; result.separator = '-'; separatorFound = true; break;
        case '%': result.pattern += '%'; break;
        default: return std::nullopt;
        }
        afterField = true;
    }
    if (result.pattern.empty())
        return std::nullopt;
    return result;
}

FormatSettings FormatSettingsFromLocale(const LocaleTimeData& data)
{
    FormatSettings settings;
    if (const auto converted = ConvertStrftimeDate(data.dateFormat)) {
        settings.ShortDateFormat = converted->pattern;
        settings.DateSeparator = converted->separator;
        // No long date pattern in the C library: follow the order of the short one.
        const std::string& p = converted->pattern;
        const std::size_t day = p.find_first_of("dD"), month = p.find_first_of("mM"),
                          year = p.find_first_of("yY");
        if (year != std::string::npos && year < month && year < day)
            settings.LongDateFormat = "yyyy mmmm d";
        else if (day != std::string::npos && day < month)
            settings.LongDateFormat = "d mmmm yyyy";
    }
    // The time separator: the first character after the hour directive.
    const std::size_t hour = data.timeFormat.find("%H");
    if (hour != std::string::npos && hour + 2 < data.timeFormat.size() &&
        data.timeFormat[hour + 2] != '%')
        settings.TimeSeparator = data.timeFormat[hour + 2];

    const auto copyNames = [](auto& target, const auto& source) {
        for (std::size_t i = 0; i < target.size(); ++i)
            if (!source[i].empty())
                target[i] = NameText(source[i]);
    };
    copyNames(settings.ShortMonthNames, data.shortMonths);
    copyNames(settings.LongMonthNames, data.longMonths);
    copyNames(settings.ShortDayNames, data.shortDays);
    copyNames(settings.LongDayNames, data.longDays);
    return settings;
}

FormatSettings SystemFormatSettings()
{
    const std::string name = EnvironmentTimeLocale();
    if (IsPlainCLocale(name))
        return {};
    // A locale object of its own, so the process's current locale is neither read nor changed.
    locale_t locale = newlocale(LC_TIME_MASK | LC_CTYPE_MASK, name.c_str(), static_cast<locale_t>(0));
    if (locale == static_cast<locale_t>(0))
        return {};  // not installed
    const std::string codeset = nl_langinfo_l(CODESET, locale);
    const bool utf8 = codeset == "UTF-8";
    const auto text = [&](nl_item item) {
        std::string value = nl_langinfo_l(item, locale);
        return utf8 ? value : Cp1252ToUtf8(value);  // single-byte locales: taken as Latin text
    };
    LocaleTimeData data;
    data.dateFormat = text(D_FMT);
    data.timeFormat = text(T_FMT);
    for (int i = 0; i < 12; ++i) {
        data.shortMonths[i] = text(ABMON_1 + i);
        data.longMonths[i] = text(MON_1 + i);
    }
    for (int i = 0; i < 7; ++i) {
        data.shortDays[i] = text(ABDAY_1 + i);
        data.longDays[i] = text(DAY_1 + i);
    }
    freelocale(locale);
    return FormatSettingsFromLocale(data);
}

}  // namespace skelmar
