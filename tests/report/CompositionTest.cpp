#include "report/Composition.h"

#include <gtest/gtest.h>

namespace skelmar {
namespace {

const BulletinLines kTable = {
    "MX/MN 34 18 12 -8",
    "TEMP 31 30 29 27 25 22 20 24 28 27 20 12 5 0 -5 -10 -3 2 10 ",
    "CLDS OV OV OV BK BK SC CL CL SC BK OV OV OV BK SC CL CL SC BK",
    "OBVIS F N X X X X X X X X H F N",
    "VIS 2 3 4 5 5 5 5 5 5 5 4 3 4",
    "PTYPE S S S Z R R X X X X X S S S S",
    "CIG",
};

TEST(FindRow, FirstLineStartingWithTheLabel)
{
    Composition c(kTable, 2);
    EXPECT_TRUE(c.FindRow("VIS"));  // "OBVIS" does not start with "VIS"
    EXPECT_EQ(c.CurrentRow(), "2 3 4 5 5 5 5 5 5 5 4 3 4");
    EXPECT_TRUE(c.FindRow("TEMP"));
    EXPECT_EQ(c.CurrentRow(), "31 30 29 27 25 22 20 24 28 27 20 12 5 0 -5 -10 -3 2 10");
    EXPECT_FALSE(c.FindRow("temp"));  // case matters
    EXPECT_EQ(c.CurrentRow(), "");
    EXPECT_FALSE(c.FindRow("CIG"));   // a row without values counts as missing
    EXPECT_FALSE(c.FindRow("WSPD"));
}

TEST(FindRow, CellsAtEachStep)
{
    struct Expectation {
        int line;
        int step;
        std::string_view temp, vis, ptype;
    };
    const Expectation kExpect[] = {
        {__LINE__, 2, "31", "2", "S"},
        {__LINE__, 13, "12", "3", ""},   // no precipitation type at step 13
        {__LINE__, 14, "5", "3", "S"},   // steps 13 and 14 share visibility cell 12
        {__LINE__, 16, "-5", "4", "S"},
        {__LINE__, 17, "-10", "", ""},   // no visibility from step 17 on
        {__LINE__, 20, "10", "", "S"},
    };
    for (const Expectation& e : kExpect) {
        SCOPED_TRACE(e.line);
        Composition c(kTable, e.step);
        c.FindRow("TEMP");
        EXPECT_EQ(c.ThreeHourlyValue(), e.temp);
        c.FindRow("VIS");
        EXPECT_EQ(c.StepCell(StepColumn::CigVisObvisCell), e.vis);
        c.FindRow("PTYPE");
        EXPECT_EQ(c.StepCell(StepColumn::PtypeCell), e.ptype);
    }
}

TEST(FindRow, FailedLookupEmptiesEveryCell)
{
    Composition c(kTable, 5);
    c.FindRow("TEMP");
    c.FindRow("WDIR");
    EXPECT_EQ(c.ThreeHourlyValue(), "");
    EXPECT_EQ(c.StepCell(StepColumn::CigVisObvisCell), "");
}

TEST(AppendSentence, BlankAfterFullStop)
{
    Composition c(kTable, 2);
    c.AppendSentence("Cloudy.");
    EXPECT_EQ(c.ReportText(), "Cloudy. ");
    c.AppendSentence("Cloudy");
    EXPECT_EQ(c.ReportText(), "Cloudy. Cloudy");
    c.AppendSentence("");
    EXPECT_EQ(c.ReportText(), "Cloudy. Cloudy");
    c.AppendSentence(".");
    EXPECT_EQ(c.ReportText(), "Cloudy. Cloudy. ");
}

}  // namespace
}  // namespace skelmar
