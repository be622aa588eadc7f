#include <gtest/gtest.h>

#include "report/ReportComposer.h"
#include "tests/report/DecoderTestSupport.h"

namespace skelmar {
namespace {

constexpr auto F = TemperatureUnit::Fahrenheit;
constexpr auto C = TemperatureUnit::Celsius;

TEST(FormatTemperature, BothUnits)
{
    struct Expectation {
        int line;
        std::string_view value;
        TemperatureUnit unit;
        std::string_view text;
    };
    const Expectation kExpect[] = {
        {__LINE__, "72", F, "72\xB0 F"},
        {__LINE__, "07", F, "07\xB0 F"},    // Fahrenheit is not parsed
        {__LINE__, "", F, "\xB0 F"},
        {__LINE__, "abc", F, "abc\xB0 F"},
        {__LINE__, "72", C, "22\xB0 C"},    // 22.2
        {__LINE__, "32", C, "0\xB0 C"},
        {__LINE__, "-40", C, "-40\xB0 C"},
        {__LINE__, "5", C, "-15\xB0 C"},
        {__LINE__, "100", C, "38\xB0 C"},   // 37.8 rounds up
        {__LINE__, "33", C, "1\xB0 C"},     // 0.56
        {__LINE__, "31", C, "-1\xB0 C"},    // -0.56
        {__LINE__, "34", C, "1\xB0 C"},     // 1.11 rounds down
        {__LINE__, "30", C, "-1\xB0 C"},    // -1.11 rounds toward zero
        {__LINE__, "-10", C, "-23\xB0 C"},  // -23.3
        {__LINE__, "999", C, "537\xB0 C"},
        {__LINE__, "", C, "-18\xB0 C"},     // not a number counts as 0
        {__LINE__, "abc", C, "-18\xB0 C"},
        {__LINE__, "2147483647", C, "1193046453\xB0 C"},
        {__LINE__, "-2147483648", C, "-1193046489\xB0 C"},
    };
    const ForecastModel noForecast;
    const EchoConfig config;
    for (const Expectation& e : kExpect) {
        SCOPED_TRACE(e.line);
        const ReportComposer composer(DecoderInputs(noForecast, 2, e.unit, config));
        EXPECT_EQ(composer.FormatTemperature(e.value), e.text);
    }
}

TEST(DescribeTemperature, SentencesAndMissingRows)
{
    struct Expectation {
        int line;
        BulletinLines lines;
        int step;
        TemperatureUnit unit;
        std::string_view text;
    };
    const Expectation kExpect[] = {
        {__LINE__, {"TEMP 41 72 ", "DEWPT 30 60 "}, 2, F, "Temp 41\xB0 F. Dew 30\xB0 F. "},
        {__LINE__, {"TEMP 41 72 ", "DEWPT 30 60 "}, 3, C, "Temp 22\xB0 C. Dew 16\xB0 C. "},
        // "999" stops before the dew point, which is then not reported.
        {__LINE__, {"TEMP 999 ", "DEWPT 30 "}, 2, F, "<TEMP NoReport>"},
        {__LINE__, {"TEMP 999 ", "DEWPT 30 "}, 2, C, "<TEMP NoReport>"},
        // The dew point is never compared with "999".
        {__LINE__, {"TEMP 41 ", "DEWPT 999 "}, 2, F, "Temp 41\xB0 F. Dew 999\xB0 F. "},
        {__LINE__, {"TEMP 41 ", "DEWPT 999 "}, 2, C, "Temp 5\xB0 C. Dew 537\xB0 C. "},
        // A blank column is an empty value, not "999".
        {__LINE__, {"TEMP 41  38 ", "DEWPT 30 29 28 "}, 3, F, "Temp \xB0 F. Dew 29\xB0 F. "},
        {__LINE__, {"TEMP 41  38 ", "DEWPT 30 29 28 "}, 3, C, "Temp -18\xB0 C. Dew -2\xB0 C. "},
        // The row is found by its label wherever it stands; the first match counts.
        {__LINE__, {"MX/MN 34", "DEWPT 1 ", "TEMP 41 ", "TEMP 50 "}, 2, F, "Temp 41\xB0 F. Dew 1\xB0 F. "},
        // Missing rows and values.
        {__LINE__, {"DEWPT 30 "}, 2, F, ""},            // no TEMP: no dew point either
        {__LINE__, {"TEMP ", "DEWPT 30 "}, 2, F, ""},   // a row without values is missing
        {__LINE__, {"TEMP 41 "}, 2, F, "Temp 41\xB0 F. Dew \xB0 F. "},  // no DEWPT row
        {__LINE__, {"TEMP 41 "}, 2, C, "Temp 5\xB0 C. Dew -18\xB0 C. "},
        {__LINE__, {"TEMP 41 ", "DEWPT 30 "}, 3, F, "Temp \xB0 F. Dew \xB0 F. "},  // short rows
    };
    for (const Expectation& e : kExpect) {
        SCOPED_TRACE(e.line);
        EXPECT_EQ(RunDecoder(&ReportComposer::DescribeTemperature, e.lines, e.step, e.unit), e.text);
    }
}

TEST(DescribeTemperature, MissingTemplatesGiveEmptySentences)
{
    const BulletinLines lines = {"TEMP 41 ", "DEWPT 30 "};
    const MemoryConfigTexts config = {{"temp", "dewpt", "Dew point %s."}};  // any case matches
    const ForecastModel forecast = ReadNgmTable(lines);
    ReportComposer composer(DecoderInputs(forecast, 2, F, config));
    composer.DescribeTemperature();
    EXPECT_EQ(composer.ReportText(), "Dew point 30\xB0 F. ");
}

}  // namespace
}  // namespace skelmar
