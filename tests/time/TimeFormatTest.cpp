#include "time/TimeFormat.h"

#include <cstdlib>

#include <gtest/gtest.h>

#include "TimeTestSupport.h"

#include "time/RegionalSettings.h"

namespace skelmar {
namespace {

using testing::At;
using testing::Eastern;
using testing::Rule;

TimeTextContext Context(TimeType type, TIME_ZONE_INFORMATION zone = Eastern())
{
    TimeTextContext context;
    context.timeType = type;
    context.zone = zone;
    return context;
}

TEST(FormatDateTime, Specifiers)
{
    FormatSettings settings;
    const TDateTime t = At(2026, 3, 5, 14, 7);  // a Thursday
    struct Expectation {
        int line;
        std::string_view pattern, text;
    };
    const Expectation kExpect[] = {
        {__LINE__, "d dd ddd dddd", "5 05 Thu Thursday"},
        {__LINE__, "m mm mmm mmmm", "3 03 Mar March"},
        {__LINE__, "yy yyyy", "26 2026"},
        {__LINE__, "h hh nn", "14 14 07"},
        {__LINE__, "h:nn am/pm", "2:07 pm"},
        {__LINE__, "hh:nn AM/PM", "02:07 PM"},    // the case of am/pm follows the pattern
        {__LINE__, "h \"h\" am/pm", "2 h pm"},    // a quoted h is text, not an hour
        {__LINE__, "h hh am/pm", "14 02 pm"},     // only the h nearest to am/pm goes 12-hour
        {__LINE__, "\"Zulu\" 'local'", "Zulu local"},
        {__LINE__, "m/d/yy", "3/5/26"},
        {__LINE__, "MMMM D, YYYY", "March 5, 2026"},  // letters in either case
        {__LINE__, "\"open", "open"},             // an unclosed quote runs to the end
        {__LINE__, "x#z!", "x#z!"},
        {__LINE__, "", ""},
    };
    for (const Expectation& e : kExpect) {
        SCOPED_TRACE(e.line);
        EXPECT_EQ(FormatDateTime(e.pattern, t, settings), e.text);
    }
    settings.DateSeparator = '.';
    settings.TimeSeparator = 'h';
    EXPECT_EQ(FormatDateTime("d/m/yyyy hh:nn", t, settings), "5.3.2026 14h07");
}

TEST(FormatDateTime, TwelveHourClock)
{
    const FormatSettings settings;
    struct Expectation {
        int line;
        int hour;
        std::string_view h, hh;
    };
    const Expectation kExpect[] = {
        {__LINE__, 0, "12:00 am", "12:00 am"},  // midnight
        {__LINE__, 1, "1:00 am", "01:00 am"},
        {__LINE__, 11, "11:00 am", "11:00 am"},
        {__LINE__, 12, "12:00 pm", "12:00 pm"},  // noon
        {__LINE__, 13, "1:00 pm", "01:00 pm"},
        {__LINE__, 23, "11:00 pm", "11:00 pm"},
    };
    for (const Expectation& e : kExpect) {
        SCOPED_TRACE(e.line);
        const TDateTime t = At(2026, 12, 9, e.hour);
        EXPECT_EQ(FormatDateTime("h:nn am/pm", t, settings), e.h);
        EXPECT_EQ(FormatDateTime("hh:nn am/pm", t, settings), e.hh);
    }
}

TEST(FormatDateTime, RoundsToTheMillisecond)
{
    // 7:00 reached through a bias of 300 minutes is 0.29166... of a day, a hair below 7:00.
    const TDateTime local = At(2026, 12, 9, 12) - 300 / 1440.0;
    EXPECT_EQ(FormatDateTime("m/d/yy hhnn", local, FormatSettings{}), "12/9/26 0700");
    EXPECT_EQ(FormatDateTime("m/d/yy hhnn", At(2026, 12, 10, 0) - 1e-10, FormatSettings{}),
              "12/10/26 0000");
}

TEST(FormatForecastTime, ZuluAndLocal)
{
    const TDateTime base = At(2026, 12, 9, 12);
    EXPECT_EQ(FormatForecastTime(false, base, Context(TimeType::Zulu)), "December 9, 2026 1200 Zulu");
    EXPECT_EQ(FormatForecastTime(true, base, Context(TimeType::Zulu)), "12/9/26 1200 Zulu");
    EXPECT_EQ(FormatForecastTime(false, base, Context(TimeType::Local)), "December 9, 2026 7:00 am local");
    EXPECT_EQ(FormatForecastTime(true, base + 0.5, Context(TimeType::Local)), "12/9/26 7:00 pm local");
    // A zone that was never found: the Local patterns with the clock of Zulu.
    EXPECT_EQ(FormatForecastTime(true, base, Context(TimeType::Local, {})), "12/9/26 12:00 pm local");
}

TEST(ComputeTimeLabelCaptions, TenLabelsInZuluAndLocal)
{
    const TDateTime base = At(2026, 12, 9, 12);
    const std::array<std::string, 10> zulu = {
        "12/9/26 1800", "12/10/26 0000", "0600", "1200", "1800",
        "12/11/26 0000", "0600", "1200", "1800", "12/12/26 0000"};
    const std::array<std::string, 10> local = {
        "12/9/26 01:00 pm", "7:00 pm", "12/10/26 01:00 am", "7:00 am", "1:00 pm",
        "7:00 pm", "12/11/26 01:00 am", "7:00 am", "1:00 pm", "7:00 pm"};

    const TimeLabelCaptions z = ComputeTimeLabelCaptions(base, "Boston, MA (BOS)", Context(TimeType::Zulu), 0);
    EXPECT_EQ(z.timeLabels, zulu);
    EXPECT_EQ(z.labelForecast, "Forecast: December 9, 2026 1200 Zulu, Boston, MA (BOS) station.");
    EXPECT_EQ(z.placeTime, "Time of forecast: 12/9/26 1200 Zulu for Boston, MA (BOS).   ");
    EXPECT_DOUBLE_EQ(z.lastLabelTime, base + 2.5);

    // Whatever the label filled last before, the first label shows its date.
    const TimeLabelCaptions l = ComputeTimeLabelCaptions(base, "Boston, MA (BOS)", Context(TimeType::Local), base + 0.3);
    EXPECT_EQ(l.timeLabels, local);
    EXPECT_EQ(l.labelForecast, "Forecast: December 9, 2026 7:00 am local, Boston, MA (BOS) station.");
    EXPECT_EQ(l.placeTime, "Time of forecast: 12/9/26 7:00 am local for Boston, MA (BOS).   ");

    // The date that begins a label, where it shows one; the local date, not the Zulu date.
    const std::array<std::string, 10> zuluDates = {"12/9/26", "12/10/26", "", "", "", "12/11/26", "", "", "", "12/12/26"};
    const std::array<std::string, 10> localDates = {"12/9/26", "", "12/10/26", "", "", "", "12/11/26", "", "", ""};
    EXPECT_EQ(z.timeLabelDates, zuluDates);
    EXPECT_EQ(l.timeLabelDates, localDates);
}

TEST(ComputeTimeLabelCaptions, AcrossTheStartOfDaylightTime)
{
    const TimeLabelCaptions c =
        ComputeTimeLabelCaptions(At(2026, 3, 8, 0), "", Context(TimeType::Local), 0);
    EXPECT_EQ(c.timeLabels[0], "3/8/26 01:00 am");
    EXPECT_EQ(c.timeLabels[1], "8:00 am");  // seven clock hours later
    EXPECT_EQ(c.timeLabels[2], "2:00 pm");
    EXPECT_EQ(c.timeLabels[3], "8:00 pm");
    EXPECT_EQ(c.timeLabels[4], "3/9/26 02:00 am");
    EXPECT_EQ(c.placeTime, "Time of forecast: 3/7/26 7:00 pm local for .   ");
}

TEST(ComputeTimeLabelCaptions, EdgeCases)
{
    // Issued at midnight: the next date is shown at +24 hours.
    const TimeLabelCaptions midnight =
        ComputeTimeLabelCaptions(At(2026, 12, 9, 0), "X", Context(TimeType::Zulu), 0);
    EXPECT_EQ(midnight.timeLabels[0], "12/9/26 0600");
    EXPECT_EQ(midnight.timeLabels[1], "1200");
    EXPECT_EQ(midnight.timeLabels[3], "12/10/26 0000");

    // Before any bulletin: times count from day 0, 30 December 1899.
    const TimeLabelCaptions zero = ComputeTimeLabelCaptions(0, "", Context(TimeType::Zulu), 0);
    EXPECT_EQ(zero.timeLabels[0], "12/30/99 0600");
    EXPECT_EQ(zero.labelForecast, "Forecast: December 30, 1899 0000 Zulu,  station.");
}

TEST(RegionalSettings, FromLocaleData)
{
    struct Expectation {
        int line;
        std::string_view dateFormat;
        std::string_view shortDate, longDate;
        char separator;
    };
    const Expectation kExpect[] = {
        {__LINE__, "%m/%d/%y", "mm/dd/yy", "mmmm d, yyyy", '/'},   // en_US
        {__LINE__, "%d.%m.%Y", "dd/mm/yyyy", "d mmmm yyyy", '.'},  // de_DE
        {__LINE__, "%Y-%m-%d", "yyyy/mm/dd", "yyyy mmmm d", '-'},  // sv_SE
        {__LINE__, "%d/%m/%Y", "dd/mm/yyyy", "d mmmm yyyy", '/'},  // en_GB
        {__LINE__, "%-m/%-d/%y", "m/d/yy", "mmmm d, yyyy", '/'},
        {__LINE__, "%F", "yyyy/mm/dd", "yyyy mmmm d", '-'},
        {__LINE__, "%x", "m/d/yy", "mmmm d, yyyy", '/'},           // not expressible: defaults
        {__LINE__, "", "m/d/yy", "mmmm d, yyyy", '/'},
        {__LINE__, "%", "m/d/yy", "mmmm d, yyyy", '/'},
    };
    for (const Expectation& e : kExpect) {
        SCOPED_TRACE(e.line);
        LocaleTimeData data;
        data.dateFormat = e.dateFormat;
        const FormatSettings settings = FormatSettingsFromLocale(data);
        EXPECT_EQ(settings.ShortDateFormat, e.shortDate);
        EXPECT_EQ(settings.LongDateFormat, e.longDate);
        EXPECT_EQ(settings.DateSeparator, e.separator);
    }

    LocaleTimeData german;
    german.dateFormat = "%d.%m.%Y";
    german.timeFormat = "%H:%M:%S";
    german.longMonths[2] = "M\xC3\xA4rz";  // UTF-8 from the C library
    const FormatSettings settings = FormatSettingsFromLocale(german);
    EXPECT_EQ(settings.LongMonthNames[2], "M\xE4rz");  // code page 1252
    EXPECT_EQ(settings.LongMonthNames[0], "January");   // missing names keep the defaults
    EXPECT_EQ(FormatDateTime(settings.ShortDateFormat, At(2026, 3, 5, 0), settings), "05.03.2026");
}

TEST(RegionalSettings, CLocaleGivesTheDefaults)
{
    // The tests run with LANG=C and LC_ALL=C.
    const FormatSettings settings = SystemFormatSettings();
    EXPECT_EQ(settings.ShortDateFormat, "m/d/yy");
    EXPECT_EQ(settings.LongDateFormat, "mmmm d, yyyy");
    EXPECT_EQ(settings.DateSeparator, '/');
    EXPECT_EQ(settings.TimeSeparator, ':');
}

}  // namespace
}  // namespace skelmar
