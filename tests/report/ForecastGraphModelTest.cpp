#include "report/ForecastGraphModel.h"

#include <gtest/gtest.h>

#include "forecast/ForecastReaders.h"
#include "tests/report/DecoderTestSupport.h"
#include "tests/support/BulletinFixture.h"
#include "tests/support/MemoryConfigTexts.h"
#include "tests/time/TimeTestSupport.h"

namespace skelmar {
namespace {

constexpr auto F = TemperatureUnit::Fahrenheit;
constexpr auto C = TemperatureUnit::Celsius;
constexpr auto None = FlightCategory::None;
constexpr auto Lifr = FlightCategory::Lifr;
constexpr auto Ifr = FlightCategory::Ifr;
constexpr auto Mvfr = FlightCategory::Mvfr;
constexpr auto Vfr = FlightCategory::Vfr;

BulletinLines WinterTable()
{
    BulletinLines lines = ReadBulletinFile(std::string(SKELMAR_FIXTURES) + "/bulletins/ngm_bos_winter.txt");
    NormaliseBulletinTable(lines);
    return lines;
}

// Nineteen optional values from a list in which 999 stands for a gap.
template <typename T>
std::array<std::optional<T>, kGraphHours> Values(std::array<int, kGraphHours> raw)
{
    std::array<std::optional<T>, kGraphHours> values;
    for (std::size_t i = 0; i < kGraphHours; ++i)
        if (raw[i] != 999)
            values[i] = raw[i];
    return values;
}

TEST(FlightCategoryOf, BoundsOfTheCategories)
{
    struct Expectation {
        int line;
        std::optional<double> feet, miles;
        FlightCategory category;
    };
    const Expectation kExpect[] = {
        {__LINE__, 0, 10, Lifr},       {__LINE__, 499, 10, Lifr},   {__LINE__, 500, 10, Ifr},
        {__LINE__, 999, 10, Ifr},      {__LINE__, 1000, 10, Mvfr},  {__LINE__, 3000, 10, Mvfr},
        {__LINE__, 3001, 10, Vfr},     {__LINE__, 12100, 0.5, Lifr}, {__LINE__, 12100, 0.99, Lifr},
        {__LINE__, 12100, 1, Ifr},     {__LINE__, 12100, 2.9, Ifr},  {__LINE__, 12100, 3, Mvfr},
        {__LINE__, 12100, 5, Mvfr},    {__LINE__, 12100, 6, Vfr},    {__LINE__, 2000, 2, Ifr},
        {__LINE__, std::nullopt, 10, None}, {__LINE__, 12100, std::nullopt, None},
    };
    for (const Expectation& e : kExpect) {
        SCOPED_TRACE(e.line);
        EXPECT_EQ(FlightCategoryOf(e.feet, e.miles), e.category);
    }
}

// The codes of the old layout through its reader.
TEST(FlightCategoryOf, CeilingAndVisibility)
{
    struct Expectation {
        int line;
        std::string_view ceiling, visibility;
        FlightCategory category;
    };
    const Expectation kExpect[] = {
        {__LINE__, "1", "5", Lifr},  // below 200 ft
        {__LINE__, "2", "5", Lifr},
        {__LINE__, "3", "5", Ifr},
        {__LINE__, "4", "5", Mvfr},
        {__LINE__, "5", "5", Vfr},
        {__LINE__, "7", "5", Vfr},
        {__LINE__, "7", "1", Lifr},  // the visibility is the worse
        {__LINE__, "7", "2", Lifr},
        {__LINE__, "7", "3", Ifr},
        {__LINE__, "7", "4", Mvfr},
        {__LINE__, "4", "3", Ifr},   // the worse of the two
        {__LINE__, "3", "4", Ifr},
        {__LINE__, "", "5", None},   // one missing: no category, not the other's
        {__LINE__, "2", "", None},
        {__LINE__, "9", "5", None},  // the products' missing value
        {__LINE__, "7", "9", None},
        {__LINE__, "8", "5", None},  // no such code in the table
        {__LINE__, "7", "6", None},
        {__LINE__, "0", "5", None},
        {__LINE__, "03", "05", Ifr},
        {__LINE__, "3x", "5", None},
    };
    for (const Expectation& e : kExpect) {
        SCOPED_TRACE(e.line);
        const ForecastModel forecast =
            ReadNgmTable({"CIG " + std::string(e.ceiling), "VIS " + std::string(e.visibility)});
        ASSERT_NE(forecast.InstantAt(6), nullptr);
        EXPECT_EQ(FlightCategoryOf(*forecast.InstantAt(6)), e.category);
    }
}

TEST(ReadForecastSeries, WinterBulletinInBothUnits)
{
    const ForecastModel forecast = ReadNgmTable(WinterTable());
    const ForecastSeries f = ReadForecastSeries(forecast, F);
    EXPECT_EQ(f.temperature, Values<long>({31, 30, 29, 27, 25, 22, 20, 24, 28, 27, 20, 12, 5, 0, -5, -10, -3, 2, 10}));
    EXPECT_EQ(f.dewPoint, Values<long>({20, 21, 22, 20, 18, 15, 10, 8, 6, 4, 0, -4, -8, -12, -15, -18, -12, -8, -2}));
    EXPECT_EQ(f.cloudCover[0], "OV");
    EXPECT_EQ(f.cloudCover[6], "CL");
    EXPECT_EQ(f.cloudCover[18], "BK");
    EXPECT_EQ(f.windDirection, Values<int>({2, 3, 3, 4, 5, 36, 33, 31, 30, 29, 28, 27, 27, 28, 29, 30, 31, 32, 33}));
    EXPECT_EQ(f.windSpeed, Values<int>({12, 14, 15, 15, 12, 10, 8, 7, 6, 5, 4, 4, 3, 0, 0, 5, 8, 10, 12}));
    // CIG 3 3 4 5 6 7 7 7 6 5 4 3 4 and VIS 2 3 4 5 5 5 5 5 5 5 4 3 4: the twelfth and
    // thirteenth cells serve two hours each, and hours 51 to 60 have none.
    const std::array<FlightCategory, kGraphHours> categories = {
        Lifr, Ifr, Mvfr, Vfr, Vfr, Vfr, Vfr, Vfr, Vfr, Vfr, Mvfr, Ifr, Ifr, Mvfr, Mvfr, None, None, None, None};
    EXPECT_EQ(f.category, categories);

    const int pop6[] = {80, 90, 70, 30, 10, 5, 10, 20, 40};
    const int ts6[] = {3, 2, 1, 0, 0, 0, 1, 2, 4};
    ASSERT_EQ(f.sixHours.size(), 9u);
    for (std::size_t k = 0; k < f.sixHours.size(); ++k) {
        SCOPED_TRACE(k);
        EXPECT_EQ(f.sixHours[k].endHour, 12 + 6 * static_cast<int>(k));
        EXPECT_EQ(f.sixHours[k].precipitation, pop6[k]);
        EXPECT_EQ(f.sixHours[k].thunderstorms, ts6[k]);
    }
    const int pop12[] = {95, 40, 15, 50};
    const int ts12[] = {4, 1, 2, 5};
    ASSERT_EQ(f.twelveHours.size(), 4u);
    for (std::size_t k = 0; k < f.twelveHours.size(); ++k) {
        SCOPED_TRACE(k);
        EXPECT_EQ(f.twelveHours[k].endHour, 24 + 12 * static_cast<int>(k));
        EXPECT_EQ(f.twelveHours[k].precipitation, pop12[k]);
        EXPECT_EQ(f.twelveHours[k].thunderstorms, ts12[k]);
    }

    // Celsius: the report's conversion, everything else the same.
    const ForecastSeries c = ReadForecastSeries(forecast, C);
    EXPECT_EQ(c.temperature[0], -1);   // 31 F
    EXPECT_EQ(c.temperature[15], -23); // -10 F
    EXPECT_EQ(c.dewPoint[2], -6);      // 22 F
    EXPECT_EQ(c.windSpeed, f.windSpeed);
    EXPECT_EQ(c.category, f.category);
}

// The Denver GFS bulletin: every hour's own ceiling and visibility, to 60 hours, and the
// daily maxima and minima at the ends of their periods.
TEST(ReadForecastSeries, GuidanceHourByHour)
{
    const std::optional<ForecastModel> forecast =
        ReadGuidanceForecast(ReadBulletinFile(std::string(SKELMAR_FIXTURES) + "/bulletins/mav_den_12z_winter.txt"));
    ASSERT_TRUE(forecast.has_value());
    const ForecastSeries s = ReadForecastSeries(*forecast, F);
    // CIG 8 8 7 7 6 6 7 8 8 8 8 6 4 3 2 3 4 6 7 and VIS 7 7 7 7 7 7 7 7 7 7 7 6 5 3 2 3 5 6 7.
    const std::array<FlightCategory, kGraphHours> categories = {
        Vfr, Vfr, Vfr, Vfr, Vfr, Vfr, Vfr, Vfr, Vfr, Vfr, Vfr, Vfr, Mvfr, Ifr, Lifr, Ifr, Mvfr, Vfr, Vfr};
    EXPECT_EQ(s.category, categories);
    const auto at = [&](int hour) { return s.category[static_cast<std::size_t>(hour / 3 - 2)]; };
    EXPECT_EQ(at(39), Vfr);   // 3,100 to 6,500 ft, 6 miles: not the 42-hour values
    EXPECT_EQ(at(45), Ifr);   // 500 to 900 ft, 1 to 2 miles: not the 48-hour values
    EXPECT_EQ(at(51), Ifr);   // 500 to 900 ft, 1 to 2 miles: no longer a gap

    // N/X 18 41 22 26 at 24, 36, 48 and 60 hours: a minimum first.
    ASSERT_EQ(s.extremes.size(), 4u);
    const std::pair<int, long> values[] = {{24, 18}, {36, 41}, {48, 22}, {60, 26}};
    for (std::size_t k = 0; k < 4; ++k) {
        SCOPED_TRACE(k);
        EXPECT_EQ(s.extremes[k].hour, values[k].first);
        EXPECT_EQ(s.extremes[k].temperature, values[k].second);
        EXPECT_EQ(s.extremes[k].maximum, k % 2 == 1);
    }
    EXPECT_EQ(ReadForecastSeries(*forecast, C).extremes[1].temperature, 5);  // 41 F

    // Its own periods: 6-hour ones ending 12 to 60, 12-hour precipitation ending at 24, 36,
    // 48 and 60, thunderstorms at 18, 30, 42 and 54.
    ASSERT_EQ(s.sixHours.size(), 9u);
    EXPECT_EQ(s.sixHours[6].precipitation, 62);
    std::vector<int> ends;
    for (const PeriodValues& period : s.twelveHours)
        ends.push_back(period.endHour);
    EXPECT_EQ(ends, (std::vector<int>{18, 24, 30, 36, 42, 48, 54, 60}));
}

TEST(ReadForecastSeries, EdgeCases)
{
    // Missing values are gaps, never errors: 999, 99, blank columns, words, short rows,
    // probabilities beyond 100, a TSV pair without its second part.
    const BulletinLines lines = {
        "MX/MN 34",
        "TEMP 999 30  29 151 -99 ",
        "DEWPT 20 ",
        "CLDS OV",
        "WDIR 99 x 36 37",
        "WSPD 05 99 00 -1",
        "POP06 80 101 x/5 7/",
        "TSV12 0/ 3",
        "CIG 9 3",
        "VIS 5",
    };
    const ForecastSeries s = ReadForecastSeries(ReadNgmTable(lines), F);
    EXPECT_EQ(s.temperature, Values<long>({999, 30, 999, 29, 999, -99, 999, 999, 999, 999, 999, 999, 999, 999,
                                           999, 999, 999, 999, 999}));
    EXPECT_EQ(s.dewPoint[0], 20);
    EXPECT_EQ(s.dewPoint[1], std::nullopt);
    EXPECT_EQ(s.cloudCover[0], "OV");
    EXPECT_EQ(s.cloudCover[1], "");
    EXPECT_EQ(s.windDirection[0], std::nullopt);
    EXPECT_EQ(s.windDirection[1], std::nullopt);
    EXPECT_EQ(s.windDirection[2], 36);
    EXPECT_EQ(s.windDirection[3], std::nullopt);
    EXPECT_EQ(s.windSpeed[0], 5);
    EXPECT_EQ(s.windSpeed[1], std::nullopt);
    EXPECT_EQ(s.windSpeed[2], 0);
    EXPECT_EQ(s.windSpeed[3], std::nullopt);
    EXPECT_EQ(s.category[0], None);  // ceiling 9
    EXPECT_EQ(s.category[1], None);  // no visibility
    ASSERT_EQ(s.sixHours.size(), 9u);
    ASSERT_EQ(s.twelveHours.size(), 4u);
    EXPECT_EQ(s.sixHours[0].precipitation, 80);
    EXPECT_EQ(s.sixHours[1].precipitation, std::nullopt);
    EXPECT_EQ(s.sixHours[2].precipitation, std::nullopt);
    EXPECT_EQ(s.sixHours[3].precipitation, 7);
    EXPECT_EQ(s.sixHours[0].thunderstorms, std::nullopt);  // no TSV06 row
    EXPECT_EQ(s.twelveHours[0].thunderstorms, 0);
    EXPECT_EQ(s.twelveHours[1].thunderstorms, 3);
    EXPECT_EQ(s.twelveHours[3].endHour, 60);

    // No table at all: every value a gap, and no period.
    for (const BulletinLines& none : {BulletinLines{}, BulletinLines{"No Report"}}) {
        const ForecastSeries empty = ReadForecastSeries(ReadNgmTable(none), C);
        for (std::size_t i = 0; i < kGraphHours; ++i) {
            SCOPED_TRACE(i);
            EXPECT_EQ(empty.temperature[i], std::nullopt);
            EXPECT_EQ(empty.windSpeed[i], std::nullopt);
            EXPECT_EQ(empty.cloudCover[i], "");
            EXPECT_EQ(empty.category[i], None);
        }
        EXPECT_TRUE(empty.sixHours.empty());
        EXPECT_TRUE(empty.twelveHours.empty());
    }
}

class BuildForecastGraphModelTest : public ::testing::Test {
protected:
    BuildForecastGraphModelTest()
        : config{{"GRAPH", "Title", "Guidance for %s issued %s"},
                 {"GRAPH", "TemperatureAxis", "Degrees%s"},
                 {"GRAPH", "VFR", "vfr"},
                 {"GRAPH", "LIFR", "lifr"},
                 {"GRAPH", "NoTable", "nothing held"},
                 {"GRAPH", "CoverOV", "8"},
                 {"GRAPH", "CoverBK", "6"},
                 {"GRAPH", "CoverSC", "nine"}}
    {
    }
    ForecastGraphModel Build(int step, TemperatureUnit unit, TimeType timeType)
    {
        time.timeType = timeType;
        time.zone = testing::Eastern();
        forecast = ReadNgmTable(lines);
        return BuildForecastGraphModel(
            ReportInputs{forecast, kWinterBaseTime, step, unit, "Boston, MA (BOS)", config, time});
    }

    BulletinLines lines = WinterTable();
    ForecastModel forecast;
    MemoryConfigTexts config;
    TimeTextContext time;
};

TEST_F(BuildForecastGraphModelTest, CaptionsFromTheGraphSection)
{
    const ForecastGraphModel z = Build(2, F, TimeType::Zulu);
    EXPECT_EQ(z.captions.title, "Guidance for Boston, MA (BOS) issued 12/9/26 1200 Zulu");
    EXPECT_EQ(z.captions.temperatureAxis, "Degrees\xB0 F");
    EXPECT_EQ(z.captions.categoryNames, (std::array<std::string, 4>{"lifr", "", "", "vfr"}));
    EXPECT_EQ(z.captions.noTable, "nothing held");
    EXPECT_EQ(z.captions.temperature, "");  // absent keys are empty, as in the report

    const ForecastGraphModel l = Build(2, C, TimeType::Local);
    EXPECT_EQ(l.captions.title, "Guidance for Boston, MA (BOS) issued 12/9/26 7:00 am local");
    EXPECT_EQ(l.captions.temperatureAxis, "Degrees\xB0 C");
}

TEST_F(BuildForecastGraphModelTest, TimeAxisAsTheTimeScale)
{
    struct Expectation {
        int line;
        TimeType timeType;
        std::size_t label;
        int hour;
        std::string_view time, date;
    };
    const Expectation kExpect[] = {
        {__LINE__, TimeType::Zulu, 0, 6, "1800", "12/9/26"},
        {__LINE__, TimeType::Zulu, 1, 12, "0000", "12/10/26"},
        {__LINE__, TimeType::Zulu, 2, 18, "0600", ""},
        {__LINE__, TimeType::Zulu, 9, 60, "0000", "12/12/26"},
        {__LINE__, TimeType::Local, 0, 6, "01:00 pm", "12/9/26"},
        {__LINE__, TimeType::Local, 1, 12, "7:00 pm", ""},
        {__LINE__, TimeType::Local, 2, 18, "01:00 am", "12/10/26"},
        {__LINE__, TimeType::Local, 9, 60, "7:00 pm", ""},
    };
    for (const Expectation& e : kExpect) {
        SCOPED_TRACE(e.line);
        const ForecastGraphModel model = Build(2, F, e.timeType);
        const GraphTimeLabel& label = model.timeLabels[e.label];
        EXPECT_EQ(label.hour, e.hour);
        EXPECT_EQ(label.time, e.time);
        EXPECT_EQ(label.date, e.date);
    }
}

TEST_F(BuildForecastGraphModelTest, SelectionTableAndCloudCover)
{
    EXPECT_EQ(Build(2, F, TimeType::Zulu).selectedIndex, 0);
    EXPECT_EQ(Build(8, F, TimeType::Zulu).selectedIndex, 6);
    EXPECT_EQ(Build(20, F, TimeType::Zulu).selectedIndex, 18);
    EXPECT_EQ(Build(99, F, TimeType::Zulu).selectedIndex, 18);  // kept on the axis

    const ForecastGraphModel model = Build(2, C, TimeType::Zulu);
    EXPECT_TRUE(model.holdsTable);
    EXPECT_EQ(model.series.temperature[0], -1);
    EXPECT_EQ(model.cloudEighths[0], 8);             // OV
    EXPECT_EQ(model.cloudEighths[3], 6);             // BK
    EXPECT_EQ(model.cloudEighths[5], std::nullopt);  // SC: not a number of eighths
    EXPECT_EQ(model.cloudEighths[6], std::nullopt);  // CL: no key

    lines = {"No Report"};
    const ForecastGraphModel empty = Build(5, F, TimeType::Zulu);
    EXPECT_FALSE(empty.holdsTable);
    EXPECT_EQ(empty.cloudEighths[0], std::nullopt);
    EXPECT_EQ(empty.timeLabels[0].time, "1800");  // the axis is there all the same
}

}  // namespace
}  // namespace skelmar
