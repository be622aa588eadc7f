#include <gtest/gtest.h>

#include "report/ReportComposer.h"
#include "tests/report/DecoderTestSupport.h"
#include "text/Error.h"

namespace skelmar {
namespace {

struct Expectation {
    int line;
    BulletinLines lines;
    int step;
    std::string_view text;
};

void Check(Decoder decoder, const Expectation& e)
{
    SCOPED_TRACE(e.line);
    EXPECT_EQ(RunDecoder(decoder, e.lines, e.step), e.text);
}

// Thirteen ceiling / visibility values, one more code than the steps 2..16 need.
const std::string kCig = "CIG 3 3 4 5 6 7 7 7 6 5 4 3 4";

TEST(DescribeSky, CoverAndCeiling)
{
    const std::string kLateClds = "CLDS 1 2 3 4 5 6 7 8 9 10 11 A B C D";  // A at step 13
    const Expectation kExpect[] = {
        {__LINE__, {"CLDS OV BK", kCig}, 2, "Sky <CLDS OV><CIG 3>"},
        {__LINE__, {"CLDS OV BK", kCig}, 3, "Sky <CLDS BK><CIG 3>"},
        // Steps 13 and 14 share ceiling cell 12, steps 15 and 16 cell 13.
        {__LINE__, {kLateClds, kCig}, 13, "Sky <CLDS A><CIG 3>"},
        {__LINE__, {kLateClds, kCig}, 14, "Sky <CLDS B><CIG 3>"},
        {__LINE__, {kLateClds, kCig}, 15, "Sky <CLDS C><CIG 4>"},
        {__LINE__, {kLateClds, kCig}, 16, "Sky <CLDS D><CIG 4>"},
        // No ceiling cell (steps 17..20), no CIG row, or a short one: a full stop closes.
        {__LINE__, {"CLDS OV OV OV OV OV OV OV OV OV OV OV OV OV OV OV OV", kCig}, 17, "Sky <CLDS OV>. "},
        {__LINE__, {"CLDS OV BK"}, 2, "Sky <CLDS OV>. "},
        {__LINE__, {"CLDS OV BK", "CIG 3"}, 3, "Sky <CLDS BK>. "},
        // An empty cover value is looked up as it is.
        {__LINE__, {"CLDS OV", kCig}, 3, "Sky <CLDS ><CIG 3>"},
        // Without the CLDS row the ceiling is not reported either.
        {__LINE__, {kCig}, 2, ""},
        {__LINE__, {"CLDS", kCig}, 2, ""},
    };
    for (const Expectation& e : kExpect)
        Check(&ReportComposer::DescribeSky, e);
}

TEST(DescribeVisibility, SpecialCodesAndTemplates)
{
    const std::string vis = "VIS 2 3 9 5 5 5 5 5 5 5 4 3 4";
    const std::string obvis = "OBVIS F X N X X X X X X X H F N";
    const Expectation kExpect[] = {
        {__LINE__, {vis, obvis}, 2, "Vis <VIS 2> with <OBVIS F>. "},
        {__LINE__, {obvis, vis}, 3, "Vis <VIS 3>. "},          // "X": VIS1, no obstruction
        {__LINE__, {vis, obvis}, 4, "<VIS 9>"},                 // "9": its own text alone
        {__LINE__, {vis, obvis}, 13, "Vis <VIS 3> with <OBVIS F>. "},
        {__LINE__, {vis, obvis}, 14, "Vis <VIS 3> with <OBVIS F>. "},
        {__LINE__, {vis, obvis}, 16, "Vis <VIS 4> with <OBVIS N>. "},
        {__LINE__, {vis, obvis}, 17, "<VIS 9>"},                // no cell from step 17 on
        {__LINE__, {vis, obvis}, 20, "<VIS 9>"},
        {__LINE__, {"VIS 2 3"}, 4, "<VIS 9>"},                  // short row: no value
        // Without an OBVIS row (or its cell) the empty obstruction key still takes VIS2.
        {__LINE__, {vis}, 2, "Vis <VIS 2> with <OBVIS >. "},
        {__LINE__, {vis, "OBVIS F"}, 3, "Vis <VIS 3> with <OBVIS >. "},
        {__LINE__, {obvis}, 2, ""},                             // "OBVIS" is not "VIS"
        {__LINE__, {"VIS", obvis}, 2, ""},
    };
    for (const Expectation& e : kExpect)
        Check(&ReportComposer::DescribeVisibility, e);
}

TEST(DescribeWind, SpeedAndDirection)
{
    const Expectation kExpect[] = {
        {__LINE__, {"WDIR 02 36", "WSPD 12 14"}, 2, "Wind 2 at 12. "},
        {__LINE__, {"WSPD 05", "WDIR 09"}, 2, "Wind 9 at 5. "},  // leading zeros dropped
        {__LINE__, {"WSPD 00", "WDIR 27"}, 2, "<WIND Calm>"},
        {__LINE__, {"WSPD -0", "WDIR 27"}, 2, "<WIND Calm>"},
        {__LINE__, {"WSPD 99", "WDIR 99"}, 2, "<WIND NoReport>"},
        {__LINE__, {"WSPD 099", "WDIR 27"}, 2, "<WIND NoReport>"},  // the number counts
        {__LINE__, {"WSPD +7", "WDIR -3"}, 2, "Wind -3 at 7. "},
        {__LINE__, {"WSPD 100", "WDIR 27"}, 2, "Wind 27 at 100. "},
        {__LINE__, {"WDIR 27"}, 2, ""},                        // no speed: no sentence
        {__LINE__, {"WSPD", "WDIR 27"}, 2, ""},
        {__LINE__, {"WDIR X", "WSPD"}, 2, ""},                 // nothing is converted then
    };
    for (const Expectation& e : kExpect)
        Check(&ReportComposer::DescribeWind, e);
}

TEST(DescribeWind, ErrorCases)
{
    struct ErrorExpectation {
        int line;
        BulletinLines lines;
        int step;
        std::string_view message;
    };
    const ErrorExpectation kExpect[] = {
        {__LINE__, {"WSPD AB", "WDIR 27"}, 2, "'AB' is not a valid integer value"},
        {__LINE__, {"WSPD 1.5", "WDIR 27"}, 2, "'1.5' is not a valid integer value"},
        {__LINE__, {"WSPD 12", "WDIR 27"}, 3, "'' is not a valid integer value"},   // short row
        {__LINE__, {"WSPD 12", "WDIR NE"}, 2, "'NE' is not a valid integer value"},
        // Both values are converted before the calm and no-report tests.
        {__LINE__, {"WSPD 00"}, 2, "'' is not a valid integer value"},
        {__LINE__, {"WSPD 99", "WDIR VR"}, 2, "'VR' is not a valid integer value"},
        {__LINE__, {"WSPD 00", "WDIR 0x1"}, 2, "'0x1' is not a valid integer value"},
        {__LINE__, {"WSPD 9999999999", "WDIR 1"}, 2, "'9999999999' is not a valid integer value"},
    };
    const EchoConfig config;
    for (const ErrorExpectation& e : kExpect) {
        SCOPED_TRACE(e.line);
        const ForecastModel forecast = ReadNgmTable(e.lines);
        ReportComposer composer(DecoderInputs(forecast, e.step, TemperatureUnit::Fahrenheit, config));
        try {
            composer.DescribeWind();
            ADD_FAILURE() << "no error";
        } catch (const Error& error) {
            EXPECT_EQ(std::string_view(error.what()), e.message);
        }
        EXPECT_EQ(composer.ReportText(), "");
    }
}

TEST(DescribePrecipType, CellsAndCodeX)
{
    const std::string ptype = "PTYPE S Z R X X X X X X X X R S Z R";
    const Expectation kExpect[] = {
        {__LINE__, {ptype}, 2, "Type <PTYPE S>. "},
        {__LINE__, {ptype}, 4, "Type <PTYPE R>. "},
        {__LINE__, {ptype}, 5, ""},                   // "X": no sentence
        {__LINE__, {ptype}, 12, ""},
        {__LINE__, {ptype}, 13, ""},                  // no cell at 13, 15, 17 and 19
        {__LINE__, {ptype}, 14, "Type <PTYPE R>. "},  // cell 12
        {__LINE__, {ptype}, 15, ""},
        {__LINE__, {ptype}, 16, "Type <PTYPE S>. "},
        {__LINE__, {ptype}, 17, ""},
        {__LINE__, {ptype}, 18, "Type <PTYPE Z>. "},
        {__LINE__, {ptype}, 19, ""},
        {__LINE__, {ptype}, 20, "Type <PTYPE R>. "},
        {__LINE__, {"PTYPE S Z"}, 4, "Type <PTYPE >. "},  // short row: the empty key
        {__LINE__, {"PTYPE"}, 2, ""},
        {__LINE__, {"POZP 10"}, 2, ""},
    };
    for (const Expectation& e : kExpect)
        Check(&ReportComposer::DescribePrecipType, e);
}

}  // namespace
}  // namespace skelmar

namespace skelmar {
namespace {

ForecastValue Value(ForecastValue::State state, std::string text, std::string key = {}, std::string fallback = {})
{
    ForecastValue value;
    value.state = state;
    value.text = std::move(text);
    value.key = std::move(key);
    value.fallbackKey = std::move(fallback);
    return value;
}

// A product that states its ceiling in feet and its visibility in miles: the numbers fill
// [CIG] Feet and [VIS] Miles; a file without those templates gets the category texts; a
// missing value is never stated as a number.
TEST(DescribeSkyAndVisibility, NumbersWhereTheFileHasTheirTemplates)
{
    using State = ForecastValue::State;
    struct Expectation {
        int line;
        std::optional<double> feet, miles;
        State ceilingState;
        bool templates;
        std::string_view text;
        bool singularTemplate = true;  // the file has [VIS] Mile for exactly one mile
    };
    const Expectation kExpect[] = {
        {__LINE__, 1500, 1.5, State::Given, true, "Sky bkn at 1,500 ft. Vis 1.5 mi. "},
        {__LINE__, 1500, 1, State::Given, true, "Sky bkn at 1,500 ft. Vis 1 mile. "},
        {__LINE__, 1500, 1, State::Given, true, "Sky bkn at 1,500 ft. Vis 1 mi. ", false},
        {__LINE__, 12000, 0.25, State::Given, true, "Sky bkn at 12,000 ft. Vis 0.25 mi. "},
        {__LINE__, 300, 10, State::Given, true, "Sky bkn at 300 ft. Vis 10 mi. "},
        {__LINE__, 1500, 1.5, State::Given, false, "Sky bkn 1000-1900. Vis 1-2 mi. "},
        {__LINE__, std::nullopt, std::nullopt, State::Given, true, "Sky bkn 1000-1900. Vis 1-2 mi. "},
        {__LINE__, 1500, 1.5, State::Missing, true, "Sky bkn no ceiling. Vis 1.5 mi. "},
    };
    for (const Expectation& e : kExpect) {
        SCOPED_TRACE(e.line);
        ForecastModel forecast;
        ForecastInstant& instant = forecast.instants.emplace_back();
        instant.hour = 6;
        instant.cloudCover = Value(State::Given, "BK");
        instant.ceiling = e.ceilingState == State::Given ? Value(State::Given, "4", "C4", "4")
                                                         : Value(State::Missing, "", "9");
        instant.ceiling.number = e.feet;
        instant.visibility = Value(State::Given, "3", "V3", "3");
        instant.visibility.number = e.miles;
        instant.obstruction = Value(State::None, "N");
        MemoryConfigTexts config = {{"CLDS", "CLDS", "Sky %s"},   {"CLDS", "BK", "bkn"},
                                    {"CIG", "C4", " 1000-1900."}, {"CIG", "9", " no ceiling."},
                                    {"VIS", "V3", "1-2 mi"},       {"VIS", "VIS1", "Vis %s."}};
        if (e.templates) {
            config = {{"CLDS", "CLDS", "Sky %s"},    {"CLDS", "BK", "bkn"},     {"CIG", "C4", " 1000-1900."},
                      {"CIG", "9", " no ceiling."},  {"VIS", "V3", "1-2 mi"},    {"VIS", "VIS1", "Vis %s."},
                      {"CIG", "Feet", " at %s ft."}, {"VIS", "Miles", "%s mi"}};
            if (e.singularTemplate)
                config.Set("VIS", "Mile", "%s mile");
        }
        ReportComposer composer(DecoderInputs(forecast, 2, TemperatureUnit::Fahrenheit, config));
        composer.DescribeSky();
        composer.DescribeVisibility();
        EXPECT_EQ(composer.ReportText(), e.text);
    }
}

}  // namespace
}  // namespace skelmar
