#include <gtest/gtest.h>

#include "forecast/BulletinTable.h"
#include "forecast/ForecastReaders.h"

namespace skelmar {
namespace {

using State = ForecastValue::State;

const BulletinLines kTable = {
    "MX/MN 34 18 12 -8",
    "TEMP 31 30 29 27 25 22 20 24 28 27 20 12 5 0 -5 -10 -3 2 10 ",
    "CLDS OV OV OV BK BK SC CL CL SC BK OV OV OV BK SC CL CL SC BK",
    "OBVIS F N X X X X X X X X H F N",
    "VIS 2 3 4 5 5 5 5 5 5 5 4 3 4",
    "PTYPE S S S Z R R X X X X X S S S S",
    "CIG",
};

TEST(BulletinTableReader, FirstLineStartingWithTheLabel)
{
    BulletinTableReader c(kTable);
    EXPECT_TRUE(c.FindRow("VIS"));  // "OBVIS" does not start with "VIS"
    EXPECT_EQ(c.CurrentRow(), "2 3 4 5 5 5 5 5 5 5 4 3 4");
    EXPECT_EQ(c.Cell(2), "3");
    EXPECT_TRUE(c.FindRow("TEMP"));
    EXPECT_EQ(c.CurrentRow(), "31 30 29 27 25 22 20 24 28 27 20 12 5 0 -5 -10 -3 2 10");
    EXPECT_FALSE(c.FindRow("temp"));  // case matters
    EXPECT_EQ(c.CurrentRow(), "");
    EXPECT_EQ(c.Cell(1), "");         // a failed lookup empties every cell
    EXPECT_FALSE(c.FindRow("CIG"));   // a row without values counts as missing
    EXPECT_FALSE(c.FindRow("WSPD"));
}

// The step table's rule: which cell each hour gets, and what is marked missing or none.
TEST(ReadNgmTable, CellsAtEachStep)
{
    struct Expectation {
        int line;
        int hour;
        std::string_view temp, vis, obvis, ptype;
        State visState, ptypeState;
    };
    const Expectation kExpect[] = {
        {__LINE__, 6, "31", "2", "F", "S", State::Given, State::Given},
        {__LINE__, 12, "29", "4", "X", "S", State::Given, State::Given},
        {__LINE__, 24, "20", "5", "X", "X", State::Given, State::None},
        {__LINE__, 39, "12", "3", "F", "", State::Given, State::Absent},   // no type at 39 hours
        {__LINE__, 42, "5", "3", "F", "S", State::Given, State::Given},    // 39 and 42 share cell 12
        {__LINE__, 48, "-5", "4", "N", "S", State::Given, State::Given},
        {__LINE__, 51, "-10", "", "", "", State::Missing, State::Absent},  // no visibility from 51 on
        {__LINE__, 60, "10", "", "", "S", State::Missing, State::Given},
    };
    const ForecastModel model = ReadNgmTable(kTable);
    EXPECT_TRUE(model.holdsTable);
    ASSERT_EQ(model.instants.size(), 19u);
    for (const Expectation& e : kExpect) {
        SCOPED_TRACE(e.line);
        const ForecastInstant* instant = model.InstantAt(e.hour);
        ASSERT_NE(instant, nullptr);
        EXPECT_EQ(instant->temperature.text, e.temp);
        EXPECT_EQ(instant->visibility.text, e.vis);
        EXPECT_EQ(instant->visibility.state, e.visState);
        EXPECT_EQ(instant->obstruction.text, e.obvis);
        EXPECT_EQ(instant->precipType.text, e.ptype);
        EXPECT_EQ(instant->precipType.state, e.ptypeState);
        EXPECT_FALSE(instant->ceiling.Present());  // a CIG row without values
        EXPECT_FALSE(instant->windSpeed.Present());
    }
}

TEST(ReadNgmTable, PeriodsOfTheStepTable)
{
    const BulletinLines table = {"MX/MN 34", "POP06 10 20 30 40 50 60 70 80 90", "POP12 15 25 35 45",
                                 "QPF 1/ 2/ 3/2 4/ 0/1 0/ 1/3 2/ 3/4"};
    const ForecastModel model = ReadNgmTable(table);
    struct Expectation {
        int line;
        int hour;
        // start, end and the amount key of the 6- and the 12-hour period ("" none)
        int start6, end6;
        std::string_view amount6;
        int start12, end12;
        std::string_view amount12;
    };
    const Expectation kExpect[] = {
        {__LINE__, 6, 6, 12, "", 0, 0, ""},       // no amount at the first step, no 12 hours
        {__LINE__, 9, 6, 12, "1", 0, 0, ""},
        {__LINE__, 12, 6, 12, "1", 12, 24, "22"},
        {__LINE__, 15, 12, 18, "2", 12, 24, "22"},
        {__LINE__, 27, 24, 30, "4", 24, 36, "21"},
        {__LINE__, 60, 54, 60, "3", 48, 60, "24"},
    };
    for (const Expectation& e : kExpect) {
        SCOPED_TRACE(e.line);
        const ForecastInstant* instant = model.InstantAt(e.hour);
        ASSERT_NE(instant, nullptr);
        ASSERT_EQ(instant->periods.size(), e.end12 == 0 ? 1u : 2u);
        const ForecastPeriod& six = model.periods.at(instant->periods[0]);
        EXPECT_EQ(six.startHour, e.start6);
        EXPECT_EQ(six.endHour, e.end6);
        EXPECT_EQ(six.amount.Present() ? six.amount.Key() : "", e.amount6);
        if (e.end12 != 0) {
            const ForecastPeriod& twelve = model.periods.at(instant->periods[1]);
            EXPECT_EQ(twelve.startHour, e.start12);
            EXPECT_EQ(twelve.endHour, e.end12);
            EXPECT_EQ(twelve.amount.Present() ? twelve.amount.Key() : "", e.amount12);
        }
    }
    // Lines without a table: no period at all.
    const ForecastModel none = ReadNgmTable({"POP06 10 20"});
    EXPECT_FALSE(none.holdsTable);
    EXPECT_TRUE(none.periods.empty());
}

}  // namespace
}  // namespace skelmar
