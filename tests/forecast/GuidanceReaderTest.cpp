#include <gtest/gtest.h>

#include <initializer_list>

#include "forecast/ForecastReaders.h"
#include "tests/support/BulletinFixture.h"

namespace skelmar {
namespace {

using State = ForecastValue::State;

// A row of the products' layout: the label in 4 characters, then each value right-aligned
// in the 3-character column of its hour.
std::string Row(std::string_view label, std::initializer_list<std::string_view> values)
{
    std::string row = " " + std::string(label);
    row.resize(5, ' ');
    for (const std::string_view value : values)
        row += std::string(3 - std::min<std::size_t>(3, value.size()), ' ') + std::string(value);
    return row;
}

// A 00 UTC run with a column for each of the hours 6 to 24, and values a reader must not
// take for their neighbours': blanks, unknown codes, a period value misplaced under hour 9
// and a 12-hour one under hour 6, which would start before the issue.
BulletinLines OddBulletin()
{
    return {
        " KABC   GFS MOS GUIDANCE    1/14/2026  0000 UTC",
        Row("HR", {"06", "09", "12", "15", "18", "21", "00"}),
        Row("X/N", {"", "", "", "", "", "", "31"}),
        Row("TMP", {"27", "999", "25", "", "30", "31", "29"}),
        Row("WSP", {"06", "99", "09", "x", "15", "18", "20"}),
        Row("CIG", {"4", "", "12", "5", "9", "X", "8"}),
        Row("VIS", {"1", "2", "3", "4", "5", "6", "7"}),
        Row("OBV", {"N", "HZ", "BR", "FG", "BL", "XX", "N"}),
        Row("TYP", {"R", "S", "Z", "RS", "Q", "R", "S"}),
        Row("P06", {"", "33", "40", "", "60", "", "80"}),
        Row("P12", {"11", "", "", "", "", "", "90"}),
        Row("Q06", {"", "", "1", "", "9", "", "7"}),
        " T06      2/ 1  5/ 0",
        Row("SNW", {"", "", "", "", "", "", "2"}),
    };
}

TEST(ReadGuidanceForecast, EveryValueAtTheHourOfItsColumn)
{
    const std::optional<ForecastModel> model = ReadGuidanceForecast(OddBulletin());
    ASSERT_TRUE(model.has_value());
    EXPECT_TRUE(model->holdsTable);
    ASSERT_EQ(model->instants.size(), 7u);

    struct Expectation {
        int line;
        int hour;
        State ceilingState;
        std::string_view ceilingKey, ceilingFallback;
        std::optional<double> ceilingFeet;
        State obstructionState, typeState, temperatureState, speedState;
    };
    const Expectation kExpect[] = {
        {__LINE__, 6, State::Given, "C4", "4", 1000, State::Given, State::Given, State::Given, State::Given},
        // Blank or unknown: missing, never the value of the hour before or after.
        {__LINE__, 9, State::Missing, "9", "", std::nullopt, State::Given, State::Given, State::Missing, State::Missing},
        {__LINE__, 12, State::Missing, "9", "", std::nullopt, State::Given, State::Given, State::Given, State::Given},
        {__LINE__, 15, State::Given, "C5", "4", 2000, State::Given, State::Given, State::Missing, State::Missing},
        {__LINE__, 18, State::Missing, "9", "", std::nullopt, State::Given, State::Missing, State::Given, State::Given},
        {__LINE__, 21, State::Missing, "9", "", std::nullopt, State::Missing, State::Given, State::Given, State::Given},
        {__LINE__, 24, State::Given, "C8", "7", 12100, State::Given, State::Given, State::Given, State::Given},
    };
    for (const Expectation& e : kExpect) {
        SCOPED_TRACE(e.line);
        const ForecastInstant* instant = model->InstantAt(e.hour);
        ASSERT_NE(instant, nullptr);
        EXPECT_EQ(instant->ceiling.state, e.ceilingState);
        EXPECT_EQ(instant->ceiling.Key(), e.ceilingKey);
        EXPECT_EQ(instant->ceiling.fallbackKey, e.ceilingFallback);
        EXPECT_EQ(instant->ceiling.lowerBound, e.ceilingFeet);
        EXPECT_EQ(instant->obstruction.state, e.obstructionState);
        EXPECT_EQ(instant->precipType.state, e.typeState);
        EXPECT_EQ(instant->temperature.state, e.temperatureState);
        EXPECT_EQ(instant->windSpeed.state, e.speedState);
        EXPECT_FALSE(instant->dewPoint.Present());  // no DPT row
    }
    EXPECT_EQ(model->InstantAt(15)->visibility.Key(), "V4");
    EXPECT_EQ(model->InstantAt(15)->visibility.fallbackKey, "3");
    EXPECT_EQ(model->InstantAt(15)->visibility.lowerBound, 2);
    EXPECT_EQ(model->InstantAt(12)->precipType.Key(), "Z");
    EXPECT_EQ(model->InstantAt(15)->precipType.Key(), "RS");
}

TEST(ReadGuidanceForecast, PeriodsWithTheirOwnSpans)
{
    const std::optional<ForecastModel> model = ReadGuidanceForecast(OddBulletin());
    ASSERT_TRUE(model.has_value());
    // By their ends, then their lengths. Nothing ends at hour 9, and nothing starts before
    // the issue: those two values do not fit the run.
    std::vector<std::pair<int, int>> spans;
    for (const ForecastPeriod& period : model->periods)
        spans.emplace_back(period.startHour, period.endHour);
    EXPECT_EQ(spans, (std::vector<std::pair<int, int>>{{6, 12}, {12, 18}, {18, 24}, {12, 24}, {0, 24}}));

    const auto period = [&](int start, int end) -> const ForecastPeriod& {
        for (const ForecastPeriod& p : model->periods)
            if (p.startHour == start && p.endHour == end)
                return p;
        ADD_FAILURE() << start << "-" << end;
        return model->periods.front();
    };
    EXPECT_EQ(period(6, 12).precipitation.text, "40");
    EXPECT_EQ(period(6, 12).thunderstorms.text, "2/1");
    EXPECT_EQ(period(6, 12).amount.Key(), "1");
    EXPECT_EQ(period(12, 18).thunderstorms.text, "5/0");
    EXPECT_EQ(period(12, 18).amount.state, State::Missing);  // 9: no amount forecast
    EXPECT_EQ(period(18, 24).amount.state, State::Missing);  // 7: no such category
    EXPECT_EQ(period(18, 24).amount.Key(), "9");
    EXPECT_EQ(period(12, 24).precipitation.text, "90");
    EXPECT_EQ(period(12, 24).maximum.text, "31");            // X/N: a maximum first
    EXPECT_FALSE(period(12, 24).minimum.Present());
    EXPECT_EQ(period(0, 24).snowfall.Key(), "2");

    // Each instant refers to the period of each element that holds it, the earlier of two.
    const auto referred = [&](int hour) {
        std::vector<std::pair<int, int>> result;
        for (const std::size_t index : model->InstantAt(hour)->periods)
            result.emplace_back(model->periods.at(index).startHour, model->periods.at(index).endHour);
        return result;
    };
    using Spans = std::vector<std::pair<int, int>>;
    EXPECT_EQ(referred(6), (Spans{{6, 12}, {0, 24}}));
    EXPECT_EQ(referred(12), (Spans{{6, 12}, {12, 24}, {0, 24}}));
    EXPECT_EQ(referred(15), (Spans{{12, 18}, {12, 24}, {0, 24}}));
    EXPECT_EQ(referred(18), (Spans{{12, 18}, {12, 24}, {0, 24}}));
    EXPECT_EQ(referred(21), (Spans{{18, 24}, {12, 24}, {0, 24}}));
}

TEST(ReadGuidanceForecast, OnlyReadableGuidance)
{
    EXPECT_FALSE(ReadGuidanceForecast({}).has_value());
    EXPECT_FALSE(ReadGuidanceForecast({" BOS   EC NGM MOS GUIDANCE   12/9/05  1200 UTC", "HOUR 06"}).has_value());
    EXPECT_FALSE(ReadGuidanceForecast({" KJFK   GFS MOS GUIDANCE    4/20/2026  1200 UTC", " TMP  52"}).has_value());
    EXPECT_FALSE(ReadGuidanceForecast({" KJFK   GFS MOS GUIDANCE    4/20/2026  12Z", " HR   18"}).has_value());

    // The first bulletin of a page that holds several; ReadForecast falls back to the table.
    BulletinLines two = OddBulletin();
    two.push_back(" KXYZ   NAM MOS GUIDANCE    1/14/2026  0000 UTC");
    two.push_back(Row("HR", {"06"}));
    two.push_back(Row("TMP", {"99"}));
    const std::optional<ForecastModel> first = ReadGuidanceForecast(two);
    ASSERT_TRUE(first.has_value());
    EXPECT_EQ(first->InstantAt(6)->temperature.text, "27");
    const ForecastModel table = ReadForecast({"no bulletin"}, {"MX/MN 1", "TEMP 41 "});
    EXPECT_EQ(table.InstantAt(6)->temperature.text, "41");
}

// The Denver bulletin at the hours of the issue's example: the very hour's values.
TEST(ReadGuidanceForecast, DenverAtEveryThirdHour)
{
    const BulletinLines lines = ReadBulletinFile(std::string(SKELMAR_FIXTURES) + "/bulletins/mav_den_12z_winter.txt");
    const std::optional<ForecastModel> model = ReadGuidanceForecast(lines);
    ASSERT_TRUE(model.has_value());
    struct Expectation {
        int hour;
        std::string_view ceiling, visibility, obstruction, type;
    };
    // CIG, VIS, OBV and TYP of the bulletin, column by column, read off by eye.
    const Expectation kExpect[] = {
        {36, "8", "7", "N", "S"}, {39, "6", "6", "N", "S"}, {42, "4", "5", "BR", "S"},
        {45, "3", "3", "BL", "S"}, {48, "2", "2", "BL", "S"}, {51, "3", "3", "BR", "S"},
        {54, "4", "5", "N", "S"}, {57, "6", "6", "N", "S"}, {60, "7", "7", "N", "S"},
        {66, "8", "7", "N", "S"}, {72, "8", "7", "N", "S"},
    };
    for (const Expectation& e : kExpect) {
        SCOPED_TRACE(e.hour);
        const ForecastInstant* instant = model->InstantAt(e.hour);
        ASSERT_NE(instant, nullptr);
        EXPECT_EQ(instant->ceiling.text, e.ceiling);
        EXPECT_EQ(instant->visibility.text, e.visibility);
        EXPECT_EQ(instant->obstruction.text, e.obstruction);
        EXPECT_EQ(instant->precipType.text, e.type);
    }
}

}  // namespace
}  // namespace skelmar
