#include "forecast/BulletinTable.h"

#include <gtest/gtest.h>

#include "text/ConfigTexts.h"

#include "forecast/StepTable.h"
#include "tests/support/BulletinFixture.h"

namespace skelmar {
namespace {

BulletinLines ReadFixture(const std::string& name)
{
    BulletinLines lines = ReadBulletinFile(std::string(SKELMAR_FIXTURES) + "/bulletins/" + name);
    EXPECT_FALSE(lines.empty()) << name;
    return lines;
}

TEST(NormaliseBulletinTable, WholeWinterBulletin)
{
    BulletinLines lines = ReadFixture("ngm_bos_winter.txt");
    NormaliseBulletinTable(lines);
    const BulletinLines expected = {
        "MX/MN 34 18 12 -8",
        "TEMP 31 30 29 27 25 22 20 24 28 27 20 12 5 0 -5 -10 -3 2 10 ",
        "DEWPT 20 21 22 20 18 15 10 8 6 4 0 -4 -8 -12 -15 -18 -12 -8 -2 ",
        "CLDS OV OV OV BK BK SC CL CL SC BK OV OV OV BK SC CL CL SC BK",
        "WDIR 02 03 03 04 05 36 33 31 30 29 28 27 27 28 29 30 31 32 33",
        "WSPD 12 14 15 15 12 10 08 07 06 05 04 04 03 00 00 05 08 10 12",
        "POP06 80 90 70 30 10 5 10 20 40",
        "POP12 95 40 15 50",
        "QPF 2/ 3/ 2/4 1/ 0/1 0/ 0/0 0/ 1/1",
        "TSV06 3/0 2/0 1/0 0/0 0/0 0/0 1/0 2/1 4/2",
        "TSV12 4/0 1/0 2/1 5/2",
        "PTYPE S S S Z R R X X X X X S S S S",
        "POZP 10 12 20 40 30 10 5 5 0 0 0 0 0 0 0",
        "POSN 80 78 60 40 20 10 5 5 0 0 0 80 90 95 95",
        "SNOW 2/ 0/ 0/ 1/",
        "CIG 3 3 4 5 6 7 7 7 6 5 4 3 4",
        "VIS 2 3 4 5 5 5 5 5 5 5 4 3 4",
        "OBVIS F N X X X X X X X X H F N",
    };
    EXPECT_EQ(lines, expected);
}

TEST(NormaliseBulletinTable, ThreeDigitTemperaturesAndMinMaxStart)
{
    BulletinLines lines = ReadFixture("ngm_phx_summer.txt");
    NormaliseBulletinTable(lines);
    ASSERT_GE(lines.size(), 3u);
    EXPECT_EQ(lines[0], "MN/MX 88 112 90 113");
    EXPECT_EQ(lines[1], "TEMP 96 92 90 88 95 104 110 108 100 97 93 91 99 105 112 113 101 98 94 ");
    EXPECT_EQ(lines[9], "TSV06 1/0 0/0 4/1 12/2 3/0 1/0 9/1 18/4 6/1");
}

TEST(NormaliseBulletinTable, RowsAndStart)
{
    struct Expectation {
        int line;
        BulletinLines input;
        BulletinLines output;
    };
    const Expectation kExpect[] = {
        {__LINE__, {"header", "  MN/MX   23    34", "TEMP   41 38"}, {"MN/MX 23 34", "TEMP 41 38 "}},
        {__LINE__, {"MX/MNX 1"}, {"MX/MNX 1"}},  // only five characters are compared
        {__LINE__, {"a", "b"}, {}},              // no table: nothing remains
        {__LINE__, {}, {}},
        {__LINE__, {"MX/MN", "   ", "", "TSV06      0/ 2  1/ 0"}, {"MX/MN", "TSV06 0/2 1/0"}},
        {__LINE__, {"MX/MN", "QPF         0/    0/    0/0"}, {"MX/MN", "QPF 0/ 0/ 0/0"}},
        {__LINE__, {"MX/MN", "DEWPT  11 10  9"}, {"MX/MN", "DEWPT 11 10 9 "}},
        {__LINE__, {"MX/MN", "DEWPT 11 10  9"}, {"MX/MN", "DEWPT 11 10 "}},  // tail of 2 dropped
        {__LINE__, {"MX/MN", "TEMP  100101"}, {"MX/MN", "TEMP 100 101 "}},
        {__LINE__, {"MX/MN", "TEMP   41    38"}, {"MX/MN", "TEMP 41  38 "}},  // blank column
        {__LINE__, {"MX/MN", "CLDS\tOV  BK"}, {"MX/MN", "CLDS\tOV BK"}},     // tabs stay
        {__LINE__, {"MX/MN", "TEMP"}, {"MX/MN", "TEMP "}},
        {__LINE__, {"MX/MN", "TEMPX"}, {"MX/MN", "TEMPX "}},
    };
    for (const Expectation& e : kExpect) {
        SCOPED_TRACE(e.line);
        BulletinLines lines = e.input;
        NormaliseBulletinTable(lines);
        EXPECT_EQ(lines, e.output);
    }
}

TEST(NormaliseBulletinTable, BlankRunsCollapseUpToThirtyEight)
{
    // Five fixed passes: runs of up to 38 blanks end as one, 39 as two, 40 as one again.
    const auto collapsed = [](int blanks) {
        BulletinLines lines = {"MX/MN", "CIG 1" + std::string(blanks, ' ') + "2"};
        NormaliseBulletinTable(lines);
        return lines[1];
    };
    for (int n = 1; n <= 38; ++n) {
        SCOPED_TRACE(n);
        EXPECT_EQ(collapsed(n), "CIG 1 2");
    }
    EXPECT_EQ(collapsed(39), "CIG 1  2");
    EXPECT_EQ(collapsed(40), "CIG 1 2");
}

TEST(RespaceFixedColumnRow, Examples)
{
    EXPECT_EQ(RespaceFixedColumnRow("TEMP   -5-10  2"), "TEMP -5 -10 2 ");
    EXPECT_EQ(RespaceFixedColumnRow("TEMP   -5-10 2"), "TEMP -5 -10 ");
    EXPECT_EQ(RespaceFixedColumnRow("TEMP"), "TEMP ");
    EXPECT_EQ(RespaceFixedColumnRow(""), " ");
}

TEST(FillTemplate, Placeholders)
{
    EXPECT_EQ(FillTemplate("Wind %s at %s knots.", "9", "5"), "Wind 9 at 5 knots.");
    EXPECT_EQ(FillTemplate("Only %s.", "a", "b"), "Only a.");     // extra argument unused
    EXPECT_EQ(FillTemplate("%s and %s", "a"), "a and ");           // missing argument: empty
    EXPECT_EQ(FillTemplate("", "a"), "");
    EXPECT_EQ(FillTemplate("%s%% 100%", "5"), "5%% 100%");         // only %s is a directive
    EXPECT_EQ(FillTemplate("%s", "%s"), "%s");                      // arguments are not rescanned
    EXPECT_EQ(FillTemplate("end %"), "end %");
}

TEST(StepTable, IrregularColumns)
{
    // Spot checks of the irregular places; the whole table is data.
    EXPECT_EQ(StepTableValue(2, StepColumn::Qpf6Cell), 0);
    EXPECT_EQ(StepTableValue(2, StepColumn::Period6Cell), 1);
    EXPECT_EQ(StepTableValue(13, StepColumn::CigVisObvisCell), 12);
    EXPECT_EQ(StepTableValue(14, StepColumn::CigVisObvisCell), 12);
    EXPECT_EQ(StepTableValue(13, StepColumn::PtypeCell), 0);
    EXPECT_EQ(StepTableValue(20, StepColumn::PtypeCell), 15);
    EXPECT_EQ(StepTableValue(20, StepColumn::Period12EndHour), 60);
    EXPECT_EQ(StepTableValue(1, StepColumn::Period6Cell), 0);
    EXPECT_EQ(StepTableValue(21, StepColumn::Period6Cell), 0);
    for (const StepTableRow& row : StepTable)
        EXPECT_EQ(row.hour, 3 * row.step);
}

}  // namespace
}  // namespace skelmar
