#include "report/ReportComposer.h"

#include <gtest/gtest.h>

#include "tests/report/DecoderTestSupport.h"
#include "tests/support/BulletinFixture.h"
#include "tests/support/EasternLocalTime.h"
#include "text/Error.h"

namespace skelmar {
namespace {

// Written out here rather than taken from kReportPrologue, so the constant is checked too.
constexpr std::string_view kPrologue =
    R"({\rtf1\ansi\ansicpg1252\deff0\deflang1033\widowctrl{\fonttbl{\f0\fswiss\fcharset0 Arial;})"
    R"({\f1\froman\fprq2\fcharset0 Times New Roman;}}\viewkind4\uc1\tx360\tx720\tx1080\tx1440)"
    R"(\tx2160\tx2880\pard\f1 )";

std::string Document(std::string_view headingText, std::string_view body)
{
    return std::string(kPrologue) + R"(\b \fs26 \i )" + std::string(headingText) +
           R"(\i0 \fs22 \b0 \f0 \par )" + std::string(body) + "}";
}

BulletinLines WinterBulletin()
{
    BulletinLines lines = ReadBulletinFile(std::string(SKELMAR_FIXTURES) + "/bulletins/ngm_bos_winter.txt");
    EXPECT_FALSE(lines.empty());
    NormaliseBulletinTable(lines);
    return lines;
}

TEST(ComposeReportText, WorkedExampleByteForByte)
{
    const BulletinLines lines = {"MX/MN 34 18", "TEMP 41 38 ", "DEWPT 30 29 "};
    const MemoryConfigTexts config = {
        {"GENERAL", "Heading", "Forecast for"},
        {"TEMP", "TEMP", "Temperature %s."},
        {"TEMP", "DEWPT", "Dew point %s."},
        {"PROBABILITIES", "Intro6", "Between %s:"},
    };
    const ForecastModel forecast = ReadNgmTable(lines);
    const ReportInputs inputs{forecast, kWinterBaseTime, 2, TemperatureUnit::Fahrenheit,
                              "Boston (BOS)", config, kZulu};
    const std::string expected =
        std::string(kPrologue) +
        "\\b \\fs26 \\i Forecast for Boston (BOS), at December 9, 2026 1800 Zulu\\i0 \\fs22 \\b0 "
        "\\f0 \\par Temperature 41\xB0 F. Dew point 30\xB0 F. \\par \\par Between 12/9/26 1800 Zulu "
        "and 12/10/26 0000 Zulu:}";
    EXPECT_EQ(ComposeReportText(inputs), expected);
    EXPECT_EQ(kReportPrologue, kPrologue);
}

// Every step of the winter bulletin with texts that echo their keys: which cells are read,
// which sections appear, and what each period spans.
TEST(ComposeReportText, EveryStepOfTheWinterBulletin)
{
    struct Expectation {
        int line;
        int step;
        std::string_view reportTime;
        std::string_view instant;
        std::string_view six;     // after "\par \par "
        std::string_view twelve;  // after "\par \par "; none at steps 2 and 3
    };
    const Expectation kExpect[] = {
        {__LINE__, 2, "December 9, 2026 1800 Zulu",
         "Temp 31\xB0 F. Dew 20\xB0 F. Sky <CLDS OV><CIG 3>Vis <VIS 2> with <OBVIS F>. Wind 2 at 12. Type <PTYPE S>. ",
         "Six 12/9/26 1800 Zulu and 12/10/26 0000 Zulu. Pop 80/. Ts 3/0. ",
         ""},
        {__LINE__, 3, "December 9, 2026 2100 Zulu",
         "Temp 30\xB0 F. Dew 21\xB0 F. Sky <CLDS OV><CIG 3>Vis <VIS 3> with <OBVIS N>. Wind 3 at 14. Type <PTYPE S>. ",
         "Six 12/9/26 1800 Zulu and 12/10/26 0000 Zulu. Pop 80/. Ts 3/0. Qpf <QPF 2>. ",
         ""},
        {__LINE__, 4, "December 10, 2026 0000 Zulu",
         "Temp 29\xB0 F. Dew 22\xB0 F. Sky <CLDS OV><CIG 4>Vis <VIS 4>. Wind 3 at 15. Type <PTYPE S>. ",
         "Six 12/9/26 1800 Zulu and 12/10/26 0000 Zulu. Pop 80/. Ts 3/0. Qpf <QPF 2>. ",
         "Twelve 12/10/26 0000 Zulu and 12/10/26 1200 Zulu. Pop 95/. Ts 4/0. Qpf <QPF 24>. "},
        {__LINE__, 5, "December 10, 2026 0300 Zulu",
         "Temp 27\xB0 F. Dew 20\xB0 F. Sky <CLDS BK><CIG 5>Vis <VIS 5>. Wind 4 at 15. Type <PTYPE Z>. ",
         "Six 12/10/26 0000 Zulu and 12/10/26 0600 Zulu. Pop 90/. Ts 2/0. Qpf <QPF 3>. ",
         "Twelve 12/10/26 0000 Zulu and 12/10/26 1200 Zulu. Pop 95/. Ts 4/0. Qpf <QPF 24>. "},
        {__LINE__, 6, "December 10, 2026 0600 Zulu",
         "Temp 25\xB0 F. Dew 18\xB0 F. Sky <CLDS BK><CIG 6>Vis <VIS 5>. Wind 5 at 12. Type <PTYPE R>. ",
         "Six 12/10/26 0000 Zulu and 12/10/26 0600 Zulu. Pop 90/. Ts 2/0. Qpf <QPF 3>. ",
         "Twelve 12/10/26 0000 Zulu and 12/10/26 1200 Zulu. Pop 95/. Ts 4/0. Qpf <QPF 24>. "},
        {__LINE__, 7, "December 10, 2026 0900 Zulu",
         "Temp 22\xB0 F. Dew 15\xB0 F. Sky <CLDS SC><CIG 7>Vis <VIS 5>. Wind 36 at 10. Type <PTYPE R>. ",
         "Six 12/10/26 0600 Zulu and 12/10/26 1200 Zulu. Pop 70/. Ts 1/0. Qpf <QPF 2>. ",
         "Twelve 12/10/26 0000 Zulu and 12/10/26 1200 Zulu. Pop 95/. Ts 4/0. Qpf <QPF 24>. "},
        {__LINE__, 8, "December 10, 2026 1200 Zulu",
         "Temp 20\xB0 F. Dew 10\xB0 F. Sky <CLDS CL><CIG 7>Vis <VIS 5>. Wind 33 at 8. ",
         "Six 12/10/26 0600 Zulu and 12/10/26 1200 Zulu. Pop 70/. Ts 1/0. Qpf <QPF 2>. ",
         "Twelve 12/10/26 0000 Zulu and 12/10/26 1200 Zulu. Pop 95/. Ts 4/0. Qpf <QPF 24>. "},
        {__LINE__, 9, "December 10, 2026 1500 Zulu",
         "Temp 24\xB0 F. Dew 8\xB0 F. Sky <CLDS CL><CIG 7>Vis <VIS 5>. Wind 31 at 7. ",
         "Six 12/10/26 1200 Zulu and 12/10/26 1800 Zulu. Pop 30/. Ts 0/0. Qpf <QPF 1>. ",
         "Twelve 12/10/26 1200 Zulu and 12/11/26 0000 Zulu. Pop 40/. Ts 1/0. Qpf <QPF 21>. "},
        {__LINE__, 10, "December 10, 2026 1800 Zulu",
         "Temp 28\xB0 F. Dew 6\xB0 F. Sky <CLDS SC><CIG 6>Vis <VIS 5>. Wind 30 at 6. ",
         "Six 12/10/26 1200 Zulu and 12/10/26 1800 Zulu. Pop 30/. Ts 0/0. Qpf <QPF 1>. ",
         "Twelve 12/10/26 1200 Zulu and 12/11/26 0000 Zulu. Pop 40/. Ts 1/0. Qpf <QPF 21>. "},
        {__LINE__, 11, "December 10, 2026 2100 Zulu",
         "Temp 27\xB0 F. Dew 4\xB0 F. Sky <CLDS BK><CIG 5>Vis <VIS 5>. Wind 29 at 5. ",
         "Six 12/10/26 1800 Zulu and 12/11/26 0000 Zulu. Pop 10/. Ts 0/0. Qpf <QPF 0>. ",
         "Twelve 12/10/26 1200 Zulu and 12/11/26 0000 Zulu. Pop 40/. Ts 1/0. Qpf <QPF 21>. "},
        {__LINE__, 12, "December 11, 2026 0000 Zulu",
         "Temp 20\xB0 F. Dew 0\xB0 F. Sky <CLDS OV><CIG 4>Vis <VIS 4> with <OBVIS H>. Wind 28 at 4. ",
         "Six 12/10/26 1800 Zulu and 12/11/26 0000 Zulu. Pop 10/. Ts 0/0. Qpf <QPF 0>. ",
         "Twelve 12/10/26 1200 Zulu and 12/11/26 0000 Zulu. Pop 40/. Ts 1/0. Qpf <QPF 21>. "},
        {__LINE__, 13, "December 11, 2026 0300 Zulu",
         "Temp 12\xB0 F. Dew -4\xB0 F. Sky <CLDS OV><CIG 3>Vis <VIS 3> with <OBVIS F>. Wind 27 at 4. ",
         "Six 12/11/26 0000 Zulu and 12/11/26 0600 Zulu. Pop 5/. Ts 0/0. Qpf <QPF 0>. ",
         "Twelve 12/11/26 0000 Zulu and 12/11/26 1200 Zulu. Pop 15/. Ts 2/1. Qpf <QPF 20>. "},
        {__LINE__, 14, "December 11, 2026 0600 Zulu",
         "Temp 5\xB0 F. Dew -8\xB0 F. Sky <CLDS OV><CIG 3>Vis <VIS 3> with <OBVIS F>. Wind 27 at 3. Type <PTYPE S>. ",
         "Six 12/11/26 0000 Zulu and 12/11/26 0600 Zulu. Pop 5/. Ts 0/0. Qpf <QPF 0>. ",
         "Twelve 12/11/26 0000 Zulu and 12/11/26 1200 Zulu. Pop 15/. Ts 2/1. Qpf <QPF 20>. "},
        {__LINE__, 15, "December 11, 2026 0900 Zulu",
         "Temp 0\xB0 F. Dew -12\xB0 F. Sky <CLDS BK><CIG 4>Vis <VIS 4> with <OBVIS N>. <WIND Calm>",
         "Six 12/11/26 0600 Zulu and 12/11/26 1200 Zulu. Pop 10/. Ts 1/0. Qpf <QPF 0>. ",
         "Twelve 12/11/26 0000 Zulu and 12/11/26 1200 Zulu. Pop 15/. Ts 2/1. Qpf <QPF 20>. "},
        {__LINE__, 16, "December 11, 2026 1200 Zulu",
         "Temp -5\xB0 F. Dew -15\xB0 F. Sky <CLDS SC><CIG 4>Vis <VIS 4> with <OBVIS N>. <WIND Calm>Type <PTYPE S>. ",
         "Six 12/11/26 0600 Zulu and 12/11/26 1200 Zulu. Pop 10/. Ts 1/0. Qpf <QPF 0>. ",
         "Twelve 12/11/26 0000 Zulu and 12/11/26 1200 Zulu. Pop 15/. Ts 2/1. Qpf <QPF 20>. "},
        {__LINE__, 17, "December 11, 2026 1500 Zulu",
         "Temp -10\xB0 F. Dew -18\xB0 F. Sky <CLDS CL>. <VIS 9>Wind 30 at 5. ",
         "Six 12/11/26 1200 Zulu and 12/11/26 1800 Zulu. Pop 20/. Ts 2/1. Qpf <QPF 0>. ",
         "Twelve 12/11/26 1200 Zulu and 12/12/26 0000 Zulu. Pop 50/. Ts 5/2. Qpf <QPF 21>. "},
        {__LINE__, 18, "December 11, 2026 1800 Zulu",
         "Temp -3\xB0 F. Dew -12\xB0 F. Sky <CLDS CL>. <VIS 9>Wind 31 at 8. Type <PTYPE S>. ",
         "Six 12/11/26 1200 Zulu and 12/11/26 1800 Zulu. Pop 20/. Ts 2/1. Qpf <QPF 0>. ",
         "Twelve 12/11/26 1200 Zulu and 12/12/26 0000 Zulu. Pop 50/. Ts 5/2. Qpf <QPF 21>. "},
        {__LINE__, 19, "December 11, 2026 2100 Zulu",
         "Temp 2\xB0 F. Dew -8\xB0 F. Sky <CLDS SC>. <VIS 9>Wind 32 at 10. ",
         "Six 12/11/26 1800 Zulu and 12/12/26 0000 Zulu. Pop 40/. Ts 4/2. Qpf <QPF 1>. ",
         "Twelve 12/11/26 1200 Zulu and 12/12/26 0000 Zulu. Pop 50/. Ts 5/2. Qpf <QPF 21>. "},
        {__LINE__, 20, "December 12, 2026 0000 Zulu",
         "Temp 10\xB0 F. Dew -2\xB0 F. Sky <CLDS BK>. <VIS 9>Wind 33 at 12. Type <PTYPE S>. ",
         "Six 12/11/26 1800 Zulu and 12/12/26 0000 Zulu. Pop 40/. Ts 4/2. Qpf <QPF 1>. ",
         "Twelve 12/11/26 1200 Zulu and 12/12/26 0000 Zulu. Pop 50/. Ts 5/2. Qpf <QPF 21>. "},
    };
    const ForecastModel forecast = ReadNgmTable(WinterBulletin());
    const EchoConfig config;
    for (const Expectation& e : kExpect) {
        SCOPED_TRACE(e.line);
        const ReportInputs inputs{forecast, kWinterBaseTime, e.step, TemperatureUnit::Fahrenheit,
                                  "Boston, MA (BOS)", config, kZulu};
        std::string body = std::string(e.instant) + "\\par \\par " + std::string(e.six);
        if (!e.twelve.empty())
            body += "\\par \\par " + std::string(e.twelve);
        const std::string heading = "Forecast for Boston, MA (BOS), at " + std::string(e.reportTime);
        EXPECT_EQ(ComposeReportText(inputs), Document(heading, body));
    }
}

TEST(ComposeReportText, UnitAndTimeTypeChangeOnlyNumbersAndTimes)
{
    const ForecastModel forecast = ReadNgmTable(WinterBulletin());
    const EchoConfig config;
    const TimeTextContext local = EasternLocalTime();
    const ReportInputs inputs{forecast, kWinterBaseTime, 4, TemperatureUnit::Celsius,
                              "Boston, MA (BOS)", config, local};
    EXPECT_EQ(ComposeReportText(inputs),
              Document("Forecast for Boston, MA (BOS), at December 9, 2026 7:00 pm local",
                       "Temp -2\xB0 C. Dew -6\xB0 C. Sky <CLDS OV><CIG 4>Vis <VIS 4>. Wind 3 at 15. "
                       "Type <PTYPE S>. \\par \\par Six 12/9/26 1:00 pm local and 12/9/26 7:00 pm "
                       "local. Pop 80/. Ts 3/0. Qpf <QPF 2>. \\par \\par Twelve 12/9/26 7:00 pm "
                       "local and 12/10/26 7:00 am local. Pop 95/. Ts 4/0. Qpf <QPF 24>. "));
}

TEST(ComposeReportText, HeadingAloneWithoutTable)
{
    // Before any retrieval: no lines, base time 0, maybe no station and no configuration.
    const ForecastModel none;
    const EchoConfig echo;
    const MemoryConfigTexts empty;
    EXPECT_EQ(ComposeReportText({none, 0, 2, TemperatureUnit::Celsius, "", echo, kZulu}),
              Document("Forecast for , at December 30, 1899 0600 Zulu", ""));
    EXPECT_EQ(ComposeReportText({none, 0, 20, TemperatureUnit::Fahrenheit, "", empty, kZulu}),
              Document(" , at January 1, 1900 1200 Zulu", ""));

    // The window's lines before any download: one line that is no table.
    const ForecastModel memo = ReadNgmTable({"Memo1"});
    EXPECT_EQ(ComposeReportText({memo, 0, 4, TemperatureUnit::Fahrenheit, "", echo, kZulu}),
              Document("Forecast for , at December 30, 1899 1200 Zulu", ""));

    // A bulletin whose table was not found normalises to nothing.
    BulletinLines noTable = {"no table here", "TEMP   41"};
    NormaliseBulletinTable(noTable);
    EXPECT_EQ(ComposeReportText({ReadNgmTable(noTable), kWinterBaseTime, 3, TemperatureUnit::Fahrenheit,
                                 "Boston (BOS)", echo, kZulu}),
              Document("Forecast for Boston (BOS), at December 9, 2026 2100 Zulu", ""));
}

TEST(ComposeReportText, StationDisplayTextAndUnescapedTexts)
{
    struct Expectation {
        int line;
        std::string_view station;
        std::string_view heading;
    };
    const Expectation kExpect[] = {
        {__LINE__, "Boston (BOS)", "Boston (BOS)"},
        {__LINE__, "", ""},
        {__LINE__, "{\\b Bold} (BOS)", "{\\b Bold} (BOS)"},  // RTF in texts acts as RTF
    };
    const ForecastModel none;
    const MemoryConfigTexts config = {{"general", "HEADING", "\\ul Report\\ulnone for"}};
    for (const Expectation& e : kExpect) {
        SCOPED_TRACE(e.line);
        EXPECT_EQ(ComposeReportText({none, kWinterBaseTime, 2, TemperatureUnit::Fahrenheit, e.station,
                                     config, kZulu}),
                  Document("\\ul Report\\ulnone for " + std::string(e.heading) +
                               ", at December 9, 2026 1800 Zulu",
                           ""));
    }
}

TEST(ComposeReportText, ErrorCases)
{
    // A wind value that is not a whole number ends the composition with its message.
    const ForecastModel forecast = ReadNgmTable({"MX/MN", "TEMP 41 ", "WSPD 1O", "WDIR 27"});
    const EchoConfig config;
    const ReportInputs inputs{forecast, kWinterBaseTime, 2, TemperatureUnit::Fahrenheit, "", config, kZulu};
    try {
        ComposeReportText(inputs);
        ADD_FAILURE() << "no error";
    } catch (const Error& error) {
        EXPECT_EQ(std::string_view(error.what()), "'1O' is not a valid integer value");
    }
}

TEST(ReportTime, ThreeHoursPerStep)
{
    EXPECT_EQ(ReportTime(kWinterBaseTime, 2), kWinterBaseTime + 0.25);
    EXPECT_EQ(ReportTime(kWinterBaseTime, 20), kWinterBaseTime + 2.5);
    EXPECT_EQ(ReportTime(0, 3), 0.375);
}

TEST(FontSizeControl, TwiceThePointSize)
{
    EXPECT_EQ(FontSizeControl(13), "\\fs26 ");
    EXPECT_EQ(FontSizeControl(11), "\\fs22 ");
    EXPECT_EQ(FontSizeControl(10.5), "\\fs21 ");
    EXPECT_EQ(FontSizeControl(10.3), "\\fs21 ");
}

TEST(TemperatureUnitFromIndex, OnlyOneIsCelsius)
{
    EXPECT_EQ(TemperatureUnitFromIndex(0), TemperatureUnit::Fahrenheit);
    EXPECT_EQ(TemperatureUnitFromIndex(1), TemperatureUnit::Celsius);
    EXPECT_EQ(TemperatureUnitFromIndex(2), TemperatureUnit::Fahrenheit);
    EXPECT_EQ(TemperatureUnitFromIndex(-1), TemperatureUnit::Fahrenheit);
}

}  // namespace
}  // namespace skelmar
