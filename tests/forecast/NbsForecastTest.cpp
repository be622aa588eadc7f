#include "forecast/NbsForecast.h"

#include <cmath>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "tests/support/BulletinFixture.h"

namespace skelmar {
namespace {

using State = ForecastValue::State;

nbs::Bulletin Bulletin(std::string_view name, std::size_t firstLine = 0)
{
    const BulletinLines lines = ReadBulletinFile(std::string(SKELMAR_FIXTURES) + "/nbs/" + std::string(name));
    nbs::ReadResult result =
        nbs::ReadNbsBulletin(BulletinLines(lines.begin() + static_cast<std::ptrdiff_t>(std::min(firstLine, lines.size())), lines.end()));
    EXPECT_EQ(result.reading, nbs::Reading::Read) << result.reason;
    return result.bulletin;
}

std::vector<int> Hours(const ForecastModel& model)
{
    std::vector<int> hours;
    for (const ForecastInstant& instant : model.instants)
        hours.push_back(instant.hour);
    return hours;
}

// The instants are the bulletin's own columns from 6 to 60 hours: every 3 hours from 6 for a
// run at a 3-hourly hour, from 7 for the 08 UTC run.
TEST(NbsForecast, InstantsAreTheBulletinsColumnsFrom6To60Hours)
{
    EXPECT_EQ(Hours(NbsForecastModel(Bulletin("nbs_v42_kfyj_12z.txt"))),
              (std::vector<int>{6, 9, 12, 15, 18, 21, 24, 27, 30, 33, 36, 39, 42, 45, 48, 51, 54, 57, 60}));
    EXPECT_EQ(Hours(NbsForecastModel(Bulletin("nbs_v42_kdan_kdaw_kday_08z.txt"))),
              (std::vector<int>{7, 10, 13, 16, 19, 22, 25, 28, 31, 34, 37, 40, 43, 46, 49, 52, 55, 58}));
    EXPECT_EQ(Hours(NbsForecastModel(Bulletin("nbs_v32_kjfk_05z.txt"))).front(), 7);
}

// Each track bar step describes the instant nearest its nominal hour.
TEST(NbsForecast, StepsMapToTheNearestInstant)
{
    const ForecastModel kfyj = NbsForecastModel(Bulletin("nbs_v42_kfyj_12z.txt"));
    const ForecastModel kdan = NbsForecastModel(Bulletin("nbs_v42_kdan_kdaw_kday_08z.txt"));
    // 07 UTC: columns at 5, 8, ... 59 hours.
    nbs::Bulletin seven = Bulletin("nbs_v42_kfyj_12z.txt");
    for (nbs::Column& column : seven.columns)
        column.forecastHour -= 1;
    const ForecastModel kfyj07 = NbsForecastModel(seven);
    struct Case {
        int step;
        int exact;    // a run at a 3-hourly hour
        int plusOne;  // the 08 UTC run
        int minusOne; // columns 1 hour before the nominal hours
    };
    const Case cases[] = {{2, 6, 7, 8}, {3, 9, 10, 8}, {4, 12, 13, 11}, {10, 30, 31, 29}, {19, 57, 58, 56}, {20, 60, 58, 59}};
    for (const Case& c : cases) {
        EXPECT_EQ(kfyj.HourOfStep(c.step), c.exact) << c.step;
        EXPECT_EQ(kdan.HourOfStep(c.step), c.plusOne) << c.step;
        EXPECT_EQ(kfyj07.HourOfStep(c.step), c.minusOne) << c.step;
    }
    EXPECT_EQ(ForecastModel{}.HourOfStep(5), 15);
    // An instant 3 hours off is never taken for a missing one.
    ForecastModel gap;
    gap.instants.resize(2);
    gap.instants[0].hour = 12;
    gap.instants[1].hour = 18;
    EXPECT_EQ(gap.HourOfStep(5), 15);
}

struct InstantCase {
    const char* fixture;
    std::size_t firstLine;
    int hour;
    const char* temperature;
    const char* cover;       // key of [CLDS]
    const char* ceilingKey;  // key of [CIG]
    double ceilingFeet;      // NAN: no number
    const char* visibilityKey;
    double miles;
    const char* windDirection;
    const char* windSpeed;
    const char* gust;
    const char* type;  // "" none
};

// Checked by hand against the bulletins' columns.
TEST(NbsForecast, InstantValuesAreTheirColumnsValues)
{
    const InstantCase cases[] = {
        {"nbs_v42_kfyj_12z.txt", 0, 6, "91", "FW", "Unlimited", NAN, "P10", NAN, "0", "0", "7", "R"},
        {"nbs_v42_kfyj_12z.txt", 0, 15, "74", "BK", "3", 600, "5", 6.0, "7", "1", "9", "R"},
        {"nbs_v42_kfyj_12z.txt", 0, 18, "74", "OV", "2", 300, "4", 4.0, "0", "0", "7", "R"},
        {"nbs_v42_kfyj_12z.txt", 0, 21, "73", "OV", "2", 300, "3", 1.0, "0", "0", "7", "R"},
        {"nbs_v42_kfyj_12z.txt", 0, 30, "81", "BK", "4", 1500, "P10", NAN, "0", "0", "8", "R"},
        {"nbs_v42_kfyj_12z.txt", 0, 60, "80", "SC", "Unlimited", NAN, "P10", NAN, "0", "0", "7", "R"},
        {"nbs_v42_kdan_kdaw_kday_08z.txt", 0, 7, "67", "CL", "Unlimited", NAN, "P10", NAN, "25", "4", "9", ""},
        {"nbs_v42_kdan_kdaw_kday_08z.txt", 0, 58, "78", "SC", "Unlimited", NAN, "P10", NAN, "26", "2", "6", "R"},
        {"nbs_v42_kdan_kdaw_kday_08z.txt", 43, 7, "53", "OV", "2", 200, "2", 0.7, "10", "5", "11", "R"},
        {"nbs_v42_kdan_kdaw_kday_08z.txt", 43, 13, "56", "OV", "2", 200, "1", 0.2, "11", "6", "13", "R"},
        {"nbs_v42_kdan_kdaw_kday_08z.txt", 43, 34, "67", "SC", "2", 400, "4", 4.0, "18", "6", "13", "R"},
        {"nbs_v42_kdan_kdaw_kday_08z.txt", 43, 37, "64", "BK", "5", 4900, "P10", NAN, "19", "5", "11", "R"},
        {"nbs_v42_kdan_kdaw_kday_08z.txt", 43, 46, "54", "FW", "Unlimited", NAN, "P10", NAN, "27", "3", "8", ""},
        {"nbs_v42_kdan_kdaw_kday_08z.txt", 86, 37, "73", "BK", "6", 10000, "P10", NAN, "36", "4", "8", "R"},
    };
    for (const InstantCase& c : cases) {
        const ForecastModel model = NbsForecastModel(Bulletin(c.fixture, c.firstLine));
        const ForecastInstant* instant = model.InstantAt(c.hour);
        ASSERT_NE(instant, nullptr) << c.fixture << " " << c.hour;
        const std::string where = std::string(c.fixture) + "+" + std::to_string(c.firstLine) + " hour " + std::to_string(c.hour);
        EXPECT_EQ(instant->temperature.text, c.temperature) << where;
        EXPECT_EQ(instant->cloudCover.Key(), c.cover) << where;
        EXPECT_EQ(instant->ceiling.Key(), c.ceilingKey) << where;
        if (std::isnan(c.ceilingFeet))
            EXPECT_FALSE(instant->ceiling.number) << where;
        else
            EXPECT_EQ(instant->ceiling.number, c.ceilingFeet) << where;
        EXPECT_EQ(instant->visibility.Key(), c.visibilityKey) << where;
        if (std::isnan(c.miles))
            EXPECT_FALSE(instant->visibility.number) << where;
        else
            EXPECT_EQ(instant->visibility.number, c.miles) << where;
        EXPECT_EQ(instant->windDirection.text, c.windDirection) << where;
        EXPECT_EQ(instant->windSpeed.text, c.windSpeed) << where;
        EXPECT_EQ(instant->windGust.text, c.gust) << where;
        if (std::string(c.type).empty())
            EXPECT_EQ(instant->precipType.state, State::None) << where;
        else
            EXPECT_EQ(instant->precipType.Key(), c.type) << where;
        EXPECT_EQ(instant->obstruction.state, State::Absent) << where;
    }
}

// The periods of an instant are the bulletin's own: the 6-hour one that holds it, the
// 12-hour one, then the daily maximum or minimum.
TEST(NbsForecast, PeriodsAreTheBulletinsOwn)
{
    const ForecastModel kfyj = NbsForecastModel(Bulletin("nbs_v42_kfyj_12z.txt"));
    const ForecastInstant* at15 = kfyj.InstantAt(15);
    ASSERT_NE(at15, nullptr);
    ASSERT_EQ(at15->periods.size(), 4u);
    const ForecastPeriod& six = kfyj.periods[at15->periods[0]];
    EXPECT_EQ(six.startHour, 12);
    EXPECT_EQ(six.endHour, 18);
    EXPECT_EQ(six.precipitation.text, "26");
    EXPECT_EQ(six.amount.text, "21");
    EXPECT_EQ(six.amount.Key(), "2");  // 0.21 inch: 0.10 to 0.24
    EXPECT_EQ(six.amount.number, 0.21);
    EXPECT_EQ(six.thunderstorms.text, "32");
    const ForecastPeriod& twelve = kfyj.periods[at15->periods[1]];
    EXPECT_EQ(twelve.startHour, 12);
    EXPECT_EQ(twelve.endHour, 24);
    EXPECT_EQ(twelve.precipitation.text, "44");
    EXPECT_EQ(twelve.amount.Key(), "22");
    EXPECT_EQ(twelve.thunderstorms.text, "43");
    // The maximum of 92 under 00 UTC (12 hours) covers 12 to 06 UTC; the minimum of 71 under
    // 12 UTC (24 hours) covers 00 to 18 UTC.
    const ForecastPeriod& maximum = kfyj.periods[at15->periods[2]];
    EXPECT_EQ(maximum.startHour, 0);
    EXPECT_EQ(maximum.endHour, 18);
    EXPECT_EQ(maximum.maximum.text, "92");
    const ForecastPeriod& minimum = kfyj.periods[at15->periods[3]];
    EXPECT_EQ(minimum.startHour, 12);
    EXPECT_EQ(minimum.endHour, 30);
    EXPECT_EQ(minimum.minimum.text, "71");

    // At the end of a period the instant belongs to it, not to the next one.
    const ForecastInstant* at18 = kfyj.InstantAt(18);
    ASSERT_NE(at18, nullptr);
    EXPECT_EQ(kfyj.periods[at18->periods[0]].endHour, 18);

    // The 08 UTC run: its 6-hour periods end at 10, 16, ... hours, its 12-hour ones at 16, 28, ...
    const ForecastModel kdaw = NbsForecastModel(Bulletin("nbs_v42_kdan_kdaw_kday_08z.txt", 43));
    const ForecastInstant* at13 = kdaw.InstantAt(13);
    ASSERT_NE(at13, nullptr);
    ASSERT_GE(at13->periods.size(), 2u);
    EXPECT_EQ(kdaw.periods[at13->periods[0]].startHour, 10);
    EXPECT_EQ(kdaw.periods[at13->periods[0]].endHour, 16);
    EXPECT_EQ(kdaw.periods[at13->periods[0]].precipitation.text, "83");
    EXPECT_EQ(kdaw.periods[at13->periods[0]].amount.Key(), "3");  // 0.25 inch
    EXPECT_EQ(kdaw.periods[at13->periods[1]].startHour, 4);
    EXPECT_EQ(kdaw.periods[at13->periods[1]].endHour, 16);
    EXPECT_EQ(kdaw.periods[at13->periods[1]].precipitation.text, "93");
    EXPECT_EQ(kdaw.periods[at13->periods[1]].amount.Key(), "23");  // 0.35 inch
}

// A value the product marks missing reads as the old table's missing value.
TEST(NbsForecast, MissingValuesGetTheMissingKeys)
{
    nbs::Bulletin bulletin = Bulletin("nbs_v42_kfyj_12z.txt");
    for (const char* row : {"TMP", "CIG", "VIS", "WSP", "Q06", "Q12", "SKY"})
        for (auto& value : bulletin.rows[row])
            if (value)
                value = nbs::kMissing;
    const ForecastModel model = NbsForecastModel(bulletin);
    const ForecastInstant* at12 = model.InstantAt(12);
    ASSERT_NE(at12, nullptr);
    EXPECT_EQ(at12->temperature.state, State::Missing);
    EXPECT_EQ(at12->cloudCover.state, State::Missing);
    EXPECT_EQ(at12->ceiling.state, State::Missing);
    EXPECT_EQ(at12->ceiling.Key(), "9");
    EXPECT_EQ(at12->visibility.Key(), "9");
    EXPECT_EQ(at12->windSpeed.state, State::Missing);
    EXPECT_EQ(at12->windDirection.state, State::Given);
    EXPECT_EQ(model.periods[at12->periods[0]].amount.Key(), "9");
    EXPECT_EQ(model.periods[at12->periods[1]].amount.Key(), "29");

    // No type rows: no type at all, rather than "none likely".
    for (const char* row : {"PZR", "PSN", "PPL", "PRA"})
        bulletin.rows.erase(row);
    EXPECT_EQ(NbsForecastModel(bulletin).InstantAt(12)->precipType.state, State::Absent);
}

TEST(NbsForecast, NoCeilingFallsBackToTheHighestCategory)
{
    const ForecastModel model = NbsForecastModel(Bulletin("nbs_v42_kfyj_12z.txt"));
    const ForecastValue& ceiling = model.InstantAt(6)->ceiling;
    EXPECT_EQ(ceiling.state, State::Given);
    EXPECT_EQ(ceiling.text, "-88");
    EXPECT_EQ(ceiling.key, "Unlimited");
    EXPECT_EQ(ceiling.fallbackKey, "7");
    ASSERT_TRUE(ceiling.lowerBound);
    EXPECT_TRUE(std::isinf(*ceiling.lowerBound));
}

}  // namespace
}  // namespace skelmar
