#include "retrieval/GuidanceTranslator.h"

#include <map>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "tests/support/BulletinFixture.h"
#include "text/StringRoutines.h"

namespace skelmar {
namespace {

std::string Fixture(std::string_view name)
{
    return std::string(SKELMAR_FIXTURES) + "/bulletins/" + std::string(name);
}

// The title and column rows of a GFS bulletin of the 12 UTC run, in the product's layout,
// followed by `rows`.
BulletinLines TwelveUtc(std::initializer_list<std::string> rows)
{
    BulletinLines lines = {
        " KJFK   GFS MOS GUIDANCE    4/20/2026  1200 UTC",
        " DT /APR  20/APR  21                /APR  22                /APR  23",
        " HR   18 21 00 03 06 09 12 15 18 21 00 03 06 09 12 15 18 21 00 06 12",
    };
    lines.insert(lines.end(), rows);
    return lines;
}

// What the translation leaves after normalisation: the table as the decoders read it.
BulletinLines TranslatedTable(BulletinLines lines)
{
    EXPECT_EQ(TranslateGuidanceBulletin(lines), GuidanceTranslation::Translated);
    NormaliseBulletinTable(lines);
    return lines;
}

// The normalised row that starts with `label`; "" when there is none.
std::string Row(const BulletinLines& table, std::string_view label)
{
    for (const std::string& line : table)
        if (line.starts_with(std::string(label) + " "))
            return line;
    return "";
}

// Each fixture, translated and normalised, row by row: the values of each hour in the cells
// the old table gives that hour, the codes mapped, the rows whose periods are not the
// report's left out.
TEST(TranslateGuidanceBulletin, EveryRowOfTheFixtures)
{
    struct Expectation {
        int line;
        const char* fixture;
        BulletinLines table;
    };
    const Expectation kExpect[] = {
        // GFS 00 UTC: the 12-hour thunderstorm periods end at 18, 30, 42 and 54 hours.
        {__LINE__, "mav_bos_00z_winter.txt",
         {
          "MX/MN 31 22 29 14",
          "TEMP 27 26 25 27 30 31 29 28 28 28 29 30 31 29 25 21 18 16 15 ",
          "DEWPT 14 15 17 20 24 27 27 27 27 27 27 26 24 20 14 9 6 4 3 ",
          "CLDS SC BK OV OV OV OV OV OV OV OV OV OV BK BK SC FW CL CL FW",
          "WDIR 32 35 04 05 05 05 04 04 03 02 01 36 33 31 30 30 29 29 28",
          "WSPD 06 07 09 12 15 18 20 22 22 21 19 18 18 17 16 15 13 11 10",
          "POP06 2 15 54 93 96 84 42 9 3",
          "POP12 56 98 55 7",
          "QPF 0/ 0/ 1/1 3/ 4/4 2/ 1/1 0/ 0/0",
          "TSV06 0/0 0/1 1/2 2/3 2/4 1/2 0/1 0/0 0/0",
          "PTYPE R Z Z S S S S S S S S S S S S",
          "CIG 6 5 4 4 3 2 2 2 2 3 3 4 6",
          "VIS 5 5 5 4 3 2 1 1 2 3 3 5 5",
          "OBVIS N N N BR BR BR BL BL BR BR BR N N",
         }},
        // GFS 06 UTC, lines without the leading blank, temperatures below zero that touch;
        // the 12-hour precipitation periods end at 18, 30, 42 and 54 hours.
        {__LINE__, "mav_inl_06z_winter.txt",
         {
          "MX/MN -2 -24 3 -18",
          "TEMP -8 -5 -3 -2 -6 -12 -17 -21 -23 -20 -9 -1 -3 -10 -15 -18 -19 -16 -6 ",
          "DEWPT -14 -12 -10 -9 -12 -17 -22 -26 -28 -26 -16 -9 -10 -16 -21 -24 -25 -22 -13 ",
          "CLDS FW SC BK BK SC FW CL CL CL CL FW SC SC BK BK SC FW CL FW",
          "WDIR 29 30 31 31 32 33 34 34 00 00 20 21 22 24 27 29 30 31 31",
          "WSPD 10 11 12 11 08 06 04 03 00 00 03 05 06 06 05 04 04 05 08",
          "POP06 4 2 1 0 0 0 1 2 1",
          "QPF 0/ 0/ 0/ 0/ 0/ 0/ 0/ 0/ 0/",
          "TSV06 0/0 0/0 0/0 0/0 0/0 0/0 0/0 0/0 0/0",
          "TSV12 0/0 0/0 0/0 0/0",
          "PTYPE S S S S S S S S S S S S S S S",
          "CIG 7 7 6 5 6 7 7 7 7 7 7 7 5",
          "VIS 5 5 5 5 5 5 5 4 3 4 5 5 5",
          "OBVIS N N N N N N BR BR FG BR N N N",
         }},
        // GFS 12 UTC, three-digit temperatures that touch, haze and blowing dust.
        {__LINE__, "mav_phx_12z_summer.txt",
         {
          "MN/MX 91 114 92 116",
          "TEMP 104 110 112 107 101 96 92 95 105 112 114 109 103 98 94 97 106 113 115 ",
          "DEWPT 45 40 38 42 48 50 52 51 46 40 36 41 49 54 56 55 50 44 40 ",
          "CLDS FW SC SC BK SC FW CL FW SC BK BK SC FW CL CL FW SC BK OV",
          "WDIR 27 26 25 14 11 10 09 11 24 26 27 15 12 11 10 10 23 25 14",
          "WSPD 08 10 11 09 07 05 04 05 08 11 14 10 07 05 04 05 09 12 18",
          "POP06 5 3 1 2 4 9 6 4 8",
          "POP12 5 3 11 10",
          "QPF 0/ 0/ 0/0 0/ 0/0 0/ 0/0 0/ 0/0",
          "TSV06 2/0 1/0 0/0 1/0 5/1 12/3 4/1 2/0 9/2",
          "PTYPE R R R R R R R R R R R R R R R",
          "CIG 7 7 7 7 7 7 7 7 7 6 6 7 7",
          "VIS 5 5 5 5 5 5 5 5 5 5 5 5 5",
          "OBVIS N N N N N N N N N N HZ N N",
         }},
        // GFS 18 UTC: 12-hour thunderstorms but no 12-hour precipitation.
        {__LINE__, "mav_dfw_18z_summer.txt",
         {
          "MN/MX 76 95 77 93",
          "TEMP 91 86 82 79 77 82 90 94 92 86 83 80 78 80 85 89 86 81 78 ",
          "DEWPT 70 71 72 72 72 73 71 69 70 71 72 72 72 72 71 70 69 70 70 ",
          "CLDS BK SC SC FW FW SC BK BK OV OV BK BK OV OV OV OV BK SC SC",
          "WDIR 17 16 16 17 18 19 19 18 17 15 14 14 15 17 20 22 32 34 01",
          "WSPD 12 13 14 15 14 15 15 14 12 10 09 09 10 12 14 16 18 13 10",
          "POP06 6 4 8 21 35 44 58 62 30",
          "QPF 0/ 0/ 0/ 1/ 1/ 2/ 3/ 3/ 1/",
          "TSV06 4/2 2/1 6/3 18/9 26/12 30/14 41/18 45/21 17/6",
          "TSV12 7/3 32/14 52/21 48/20",
          "PTYPE R R R R R R R R R R R R R R R",
          "CIG 6 6 5 5 4 4 5 6 5 4 4 3 4",
          "VIS 5 5 5 5 5 5 5 5 5 5 5 4 4",
          "OBVIS N N N N N N N N N N N BR BR",
         }},
        // NAM 00 UTC, snow after freezing rain, fog and blowing snow.
        {__LINE__, "met_ord_00z_winter.txt",
         {
          "MX/MN 30 18 26 11",
          "TEMP 25 24 23 22 24 27 28 26 25 24 22 20 20 19 18 15 13 12 11 ",
          "DEWPT 19 20 20 20 21 23 24 23 22 21 18 15 13 12 10 7 5 4 3 ",
          "CLDS OV OV OV OV OV OV OV OV OV OV OV BK BK SC SC FW CL CL CL",
          "WDIR 14 13 11 09 07 05 03 02 36 34 32 31 30 30 29 29 28 27 25",
          "WSPD 08 09 10 12 13 14 15 16 16 15 14 13 12 11 10 09 08 07 07",
          "POP06 10 35 72 88 80 55 30 12 5",
          "POP12 40 91 62 14",
          "QPF 0/ 1/ 2/1 3/ 2/3 1/ 0/1 0/ 0/0",
          "TSV06 0/0 0/0 1/0 1/0 0/0 0/0 0/0 0/0 0/0",
          "PTYPE R Z Z Z S S S S S S S S S S S",
          "CIG 5 4 4 3 3 2 2 3 3 4 4 6 7",
          "VIS 5 5 4 3 3 2 2 3 3 4 5 5 5",
          "OBVIS N N N BR BR FG FG BR BR N N N N",
         }},
        // NAM 12 UTC.
        {__LINE__, "met_mia_12z_summer.txt",
         {
          "MN/MX 79 91 80 92",
          "TEMP 88 89 86 84 82 81 80 84 88 90 87 84 82 81 80 85 89 90 87 ",
          "DEWPT 75 75 75 76 76 76 76 76 75 75 76 76 76 76 76 76 75 75 76 ",
          "CLDS SC BK BK SC SC FW FW SC BK BK BK SC SC FW SC SC BK OV BK",
          "WDIR 10 09 10 11 11 11 12 11 10 09 09 10 11 11 11 11 10 09 10",
          "WSPD 11 10 08 07 07 06 06 08 11 12 10 08 07 07 06 09 12 13 11",
          "POP06 38 42 15 10 14 36 48 20 12",
          "POP12 55 24 58 33",
          "QPF 1/ 1/ 0/1 0/ 0/0 1/ 2/2 0/ 0/0",
          "TSV06 21/2 25/3 8/1 3/0 5/0 18/2 30/4 9/1 6/0",
          "PTYPE R R R R R R R R R R R R R R R",
          "CIG 5 4 4 5 6 6 6 5 4 4 4 6 6",
          "VIS 5 5 5 5 5 5 5 5 5 4 5 5 5",
          "OBVIS N N N N N N N N N N N N N",
         }},
    };
    for (const Expectation& e : kExpect) {
        SCOPED_TRACE(e.line);
        const BulletinLines lines = ReadBulletinFile(Fixture(e.fixture));
        ASSERT_FALSE(lines.empty()) << e.fixture;
        EXPECT_EQ(TranslatedTable(lines), e.table);
    }
}

// The header as the checks read it: characters 2 to 4 the station, word 6 the date with a
// two-digit year, word 7 the issue time.
TEST(TranslateGuidanceBulletin, HeaderForTheChecks)
{
    struct Expectation {
        int line;
        const char* title;
        const char* header;
    };
    const Expectation kExpect[] = {
        {__LINE__, " KJFK   GFS MOS GUIDANCE    4/20/2026  1200 UTC                      ",
         " JFK   MAV GFS MOS GUIDANCE   4/20/26  1200 UTC"},
        {__LINE__, "KJFK   GFS MOS GUIDANCE    4/20/2026  1200 UTC", " JFK   MAV GFS MOS GUIDANCE   4/20/26  1200 UTC"},
        {__LINE__, " KORD   NAM MOS GUIDANCE   12/08/2026  0000 UTC", " ORD   MET NAM MOS GUIDANCE   12/08/26  0000 UTC"},
        // Outside the contiguous states the station list names the whole identifier: kept whole.
        {__LINE__, " PHNL   GFS MOS GUIDANCE    1/04/2019  1800 UTC", " PHNL   MAV GFS MOS GUIDANCE   1/04/19  1800 UTC"},
        {__LINE__, " PANC   GFS MOS GUIDANCE    1/04/2019  0600 UTC", " PANC   MAV GFS MOS GUIDANCE   1/04/19  0600 UTC"},
        {__LINE__, " TJSJ   GFS MOS GUIDANCE    1/04/2019  0600 UTC", " TJSJ   MAV GFS MOS GUIDANCE   1/04/19  0600 UTC"},
        // A year already of two digits, or no year, is left for the date check to judge.
        {__LINE__, " KBOS   GFS MOS GUIDANCE    1/04/19  0600 UTC", " BOS   MAV GFS MOS GUIDANCE   1/04/19  0600 UTC"},
        {__LINE__, " KBOS   GFS MOS GUIDANCE    1/04  0600 UTC", " BOS   MAV GFS MOS GUIDANCE   1/04  0600 UTC"},
        {__LINE__, " KBOS   GFS MOS GUIDANCE    1/04/2019  0600", " BOS   MAV GFS MOS GUIDANCE   1/04/19  0600"},
    };
    for (const Expectation& e : kExpect) {
        SCOPED_TRACE(e.line);
        BulletinLines lines = {e.title, " HR   00 03"};
        ASSERT_EQ(TranslateGuidanceBulletin(lines), GuidanceTranslation::Translated);
        EXPECT_EQ(lines.front(), e.header);
    }

    BulletinLines lines = ReadBulletinFile(Fixture("mav_dfw_18z_summer.txt"));
    ASSERT_EQ(TranslateGuidanceBulletin(lines), GuidanceTranslation::Translated);
    TWordList words;
    SplitWords(lines.front().substr(1), words);
    EXPECT_EQ(lines.front().substr(1, 3), "DFW");
    ASSERT_GE(words.size(), 7u);
    EXPECT_EQ(words[5], "6/22/26");
    EXPECT_EQ(words[6], "1800");
}

TEST(TranslateGuidanceBulletin, OnlyTodaysTitlesAreTranslated)
{
    struct Expectation {
        int line;
        BulletinLines lines;
        GuidanceTranslation result;
    };
    const std::string hours = " HR   18 21 00 03";
    const std::string temperatures = " TMP  52 55 56 55";
    const Expectation kExpect[] = {
        {__LINE__, {" KJFK   GFS MOS GUIDANCE    4/20/2026  1200 UTC", hours, temperatures}, GuidanceTranslation::Translated},
        {__LINE__, {" KJFK   NAM MOS GUIDANCE    4/20/2026  1200 UTC", hours}, GuidanceTranslation::Translated},
        // Blank lines before the title (the page's line break after its tag).
        {__LINE__, {"", "   ", " KJFK   GFS MOS GUIDANCE    4/20/2026  1200 UTC", hours}, GuidanceTranslation::Translated},
        // The old layout and other products pass untouched.
        {__LINE__, {" BOS   EC NGM MOS GUIDANCE   12/9/26  1200 UTC", " HOUR 18 21 00"}, GuidanceTranslation::NotGuidance},
        {__LINE__, {" KJFK   GFSX MOS GUIDANCE   4/20/2026  1200 UTC", " FHR  24  36"}, GuidanceTranslation::NotGuidance},
        {__LINE__, {" KJFK   GFS LAMP GUIDANCE   4/20/2026  1500 UTC", " UTC  16 17"}, GuidanceTranslation::NotGuidance},
        {__LINE__, {" kjfk   gfs mos guidance    4/20/2026  1200 utc", hours}, GuidanceTranslation::NotGuidance},
        {__LINE__, {"No Report"}, GuidanceTranslation::NotGuidance},
        {__LINE__, {"", " "}, GuidanceTranslation::NotGuidance},
        {__LINE__, {}, GuidanceTranslation::NotGuidance},
        // The title text is not read beyond its first non-blank line.
        {__LINE__, {" header", " KJFK   GFS MOS GUIDANCE    4/20/2026  1200 UTC", hours}, GuidanceTranslation::NotGuidance},
    };
    for (const Expectation& e : kExpect) {
        SCOPED_TRACE(e.line);
        BulletinLines lines = e.lines;
        EXPECT_EQ(TranslateGuidanceBulletin(lines), e.result);
        if (e.result != GuidanceTranslation::Translated) {
            EXPECT_EQ(lines, e.lines) << "untouched";
        }
    }
}

TEST(TranslateGuidanceBulletin, OldLayoutPassesUntouched)
{
    for (const char* name : {"ngm_bos_winter.txt", "ngm_phx_summer.txt"}) {
        SCOPED_TRACE(name);
        const BulletinLines original = ReadBulletinFile(Fixture(name));
        ASSERT_FALSE(original.empty());
        BulletinLines lines = original;
        EXPECT_EQ(TranslateGuidanceBulletin(lines), GuidanceTranslation::NotGuidance);
        EXPECT_EQ(lines, original);
    }
}

// A title whose issue time or HR row cannot be read leaves the bulletin as it came, with its
// four-letter identifier, which the header check refuses as corrupted.
TEST(TranslateGuidanceBulletin, ErrorCases)
{
    struct Expectation {
        int line;
        BulletinLines lines;
    };
    const std::string title = " KJFK   GFS MOS GUIDANCE    4/20/2026  1200 UTC";
    const Expectation kExpect[] = {
        {__LINE__, {title}},                                                // no HR row
        {__LINE__, {title, " TMP  52 55"}},
        {__LINE__, {title, "", " HR   18 21 00"}},                          // after the bulletin's end
        {__LINE__, {title, " HR"}},                                         // no columns
        {__LINE__, {title, " HR   18 21 24"}},                              // no such hour
        {__LINE__, {title, " HR   18 21 0x"}},
        {__LINE__, {title, " HR   18 21 +1"}},
        {__LINE__, {title, " HR   18 21 003"}},
        {__LINE__, {" KJFK   GFS MOS GUIDANCE    4/20/2026  12 UTC", " HR   18 21"}},
        {__LINE__, {" KJFK   GFS MOS GUIDANCE    4/20/2026  2400 UTC", " HR   18 21"}},
        {__LINE__, {" KJFK   GFS MOS GUIDANCE    4/20/2026  UTC", " HR   18 21"}},
        {__LINE__, {" KJFK   GFS MOS GUIDANCE    4/20/2026", " HR   18 21"}},
        {__LINE__, {" KJFK   GFS MOS GUIDANCE", " HR   18 21"}},
    };
    for (const Expectation& e : kExpect) {
        SCOPED_TRACE(e.line);
        BulletinLines lines = e.lines;
        EXPECT_EQ(TranslateGuidanceBulletin(lines), GuidanceTranslation::Unreadable);
        EXPECT_EQ(lines, e.lines);
    }
}

// A period row whose periods end at other hours than the old row's is left out; a note
// above the table says so, and the normalisation drops it with the header.
TEST(TranslateGuidanceBulletin, NotesAboveTheTable)
{
    struct Expectation {
        int line;
        const char* fixture;
        BulletinLines notes;
    };
    const Expectation kExpect[] = {
        {__LINE__, "mav_bos_00z_winter.txt", {"NOTE: T12 LEFT OUT, ITS PERIODS END AT HOURS 18 30 42 54"}},
        {__LINE__, "met_mia_12z_summer.txt", {"NOTE: T12 LEFT OUT, ITS PERIODS END AT HOURS 18 30 42 54"}},
        {__LINE__, "mav_dfw_18z_summer.txt",
         {"NOTE: P12 LEFT OUT, ITS PERIODS END AT HOURS 18 30 42 54",
          "NOTE: Q12 LEFT OUT, ITS PERIODS END AT HOURS 18 30 42 54"}},
    };
    for (const Expectation& e : kExpect) {
        SCOPED_TRACE(e.line);
        BulletinLines lines = ReadBulletinFile(Fixture(e.fixture));
        ASSERT_EQ(TranslateGuidanceBulletin(lines), GuidanceTranslation::Translated);
        ASSERT_GE(lines.size(), 2 + e.notes.size());
        EXPECT_TRUE(lines[1].starts_with("HOUR  ")) << lines[1];
        EXPECT_EQ(BulletinLines(lines.begin() + 2, lines.begin() + 2 + static_cast<long>(e.notes.size())), e.notes);
        EXPECT_TRUE(lines[2 + e.notes.size()].starts_with("M")) << "then the table";
        NormaliseBulletinTable(lines);
        EXPECT_TRUE(lines.front().starts_with("MX/MN") || lines.front().starts_with("MN/MX"));
    }
}

// The rows in the old layout before normalisation: TEMP and DEWPT in the fixed columns from
// the 7th character, every value in the column of its hour.
TEST(TranslateGuidanceBulletin, OldColumns)
{
    BulletinLines lines = ReadBulletinFile(Fixture("mav_phx_12z_summer.txt"));
    ASSERT_EQ(TranslateGuidanceBulletin(lines), GuidanceTranslation::Translated);
    const BulletinLines expected = {
        " PHX   MAV GFS MOS GUIDANCE   7/14/26  1200 UTC",
        "HOUR   18 21 00 03 06 09 12 15 18 21 00 03 06 09 12 15 18 21 00",
        "NOTE: T12 LEFT OUT, ITS PERIODS END AT HOURS 18 30 42 54",
        "MN/MX                    91         114          92         116",
        "TEMP  104110112107101 96 92 95105112114109103 98 94 97106113115",
        "DEWPT  45 40 38 42 48 50 52 51 46 40 36 41 49 54 56 55 50 44 40",
        "CLDS   FW SC SC BK SC FW CL FW SC BK BK SC FW CL CL FW SC BK OV",
        "WDIR   27 26 25 14 11 10 09 11 24 26 27 15 12 11 10 10 23 25 14",
        "WSPD   08 10 11 09 07 05 04 05 08 11 14 10 07 05 04 05 09 12 18",
        "POP06         5     3     1     2     4     9     6     4     8",
        "POP12                     5           3          11          10",
        "QPF          0/    0/   0/0    0/   0/0    0/   0/0    0/   0/0",
        "TSV06      2/ 0  1/ 0  0/ 0  1/ 0  5/ 1 12/ 3  4/ 1  2/ 0  9/ 2",
        "PTYPE   R  R  R  R  R  R  R  R  R  R  R     R     R     R     R",
        "CIG     7  7  7  7  7  7  7  7  7  6  6     7     7",
        "VIS     5  5  5  5  5  5  5  5  5  5  5     5     5",
        "OBVIS   N  N  N  N  N  N  N  N  N  N HZ     N     N",
    };
    EXPECT_EQ(lines, expected);
}

TEST(TranslateGuidanceBulletin, EdgeCases)
{
    struct Expectation {
        int line;
        BulletinLines rows;  // after the title, DT and HR rows of a 12 UTC run
        std::string label;
        std::string row;     // normalised; "" for no row
    };
    const Expectation kExpect[] = {
        // A blank column ends the row: a later value would land in the wrong cell.
        {__LINE__, {" TMP  52 55 56    52 50"}, "TEMP", "TEMP 52 55 56 "},
        {__LINE__, {" TMP     55 56"}, "TEMP", ""},
        {__LINE__, {" CLD  BK OV OV OV"}, "CLDS", "CLDS BK OV OV OV"},
        // Missing values as the products write them reach the decoders as they stand.
        {__LINE__, {" TMP 999 55999"}, "TEMP", "TEMP 999 55 999 "},
        {__LINE__, {" WDR  99 15"}, "WDIR", "WDIR 99 15"},
        {__LINE__, {" WSP  99 12"}, "WSPD", "WSPD 99 12"},
        {__LINE__, {" P06       999   999"}, "POP06", "POP06 999 999"},
        {__LINE__, {" T06    999/99  3/ 1"}, "TSV06", "TSV06 999/99 3/1"},
        {__LINE__, {" Q06         9     1     2", " Q12                     9"}, "QPF", "QPF 9/ 1/ 2/9"},
        {__LINE__, {" CIG   9  8  1"}, "CIG", "CIG 9 7 1"},
        {__LINE__, {" VIS   9  7  6  4"}, "VIS", "VIS 9 5 5 3"},
        // Without Q06 there is no QPF row, whatever Q12 holds.
        {__LINE__, {" Q12                     3"}, "QPF", ""},
        // A 6-hour value at an hour that ends no 6-hour period: the row is not the report's.
        {__LINE__, {" P06        10 20    30"}, "POP06", ""},
        // A pair that ends in no column is not read, and ends the row.
        {__LINE__, {" T06      1/ 0 3/ 1   4/ 1"}, "TSV06", "TSV06 1/0"},
        // A pair of thunderstorm probability 100 may touch the pair before it.
        {__LINE__, {" T06      1/ 0100/ 5"}, "TSV06", "TSV06 1/0 100/5"},
        // Slashes closer together than pairs can stand, up to the end of the line.
        {__LINE__, {" T06      1/ 0  2//"}, "TSV06", "TSV06 1/0"},
        {__LINE__, {" T06      1/ 0/1/ 5"}, "TSV06", "TSV06 1/0"},
        // The first of two rows with one label counts; unknown rows are dropped.
        {__LINE__, {" WSP  05 06", " WSP  07 08"}, "WSPD", "WSPD 05 06"},
        {__LINE__, {" XYZ  05 06"}, "XYZ", ""},
        // The bulletin ends at a blank line or at the next station's title.
        {__LINE__, {"", " TMP  52 55"}, "TEMP", ""},
        {__LINE__, {" KBOS   GFS MOS GUIDANCE    4/20/2026  1200 UTC", " TMP  52 55"}, "TEMP", ""},
        // Without a max/min row the table still starts, with an empty one.
        {__LINE__, {" TMP  52 55"}, "MX/MN", ""},
        {__LINE__, {" X/N                    51"}, "MX/MN", "MX/MN 51"},
        {__LINE__, {" N/X                    46          58          44          61    47"}, "MN/MX", "MN/MX 46 58 44 61"},
    };
    for (const Expectation& e : kExpect) {
        SCOPED_TRACE(e.line);
        BulletinLines lines = TwelveUtc({});
        lines.insert(lines.end(), e.rows.begin(), e.rows.end());
        const BulletinLines table = TranslatedTable(lines);
        ASSERT_FALSE(table.empty());
        EXPECT_TRUE(table.front().starts_with("MX/MN") || table.front().starts_with("MN/MX"));
        EXPECT_EQ(Row(table, e.label), e.row);
    }
}

// A category's range of heights or distances, both ends included.
struct Range {
    int low;
    int high;
};

// Every category of a product lies within the old category it becomes.
void ExpectWithinOldCategories(const std::map<std::string, Range>& product, const std::map<std::string, Range>& old,
                               std::string (*map)(std::string_view))
{
    for (const auto& [category, range] : product) {
        SCOPED_TRACE(category);
        const auto becomes = old.find(map(category));
        ASSERT_NE(becomes, old.end());
        EXPECT_LE(becomes->second.low, range.low);
        EXPECT_GE(becomes->second.high, range.high);
    }
}

// The ceiling and visibility categories of the products on the old ones: since every new
// category lies within the old category it becomes, no flight category (500, 1000, 3000 ft;
// 1, 3, 5 miles) changes.
TEST(MappedCategories, KeepTheFlightCategories)
{
    // Feet; 99999 for unlimited.
    ExpectWithinOldCategories(
        {{"1", {0, 199}}, {"2", {200, 499}}, {"3", {500, 999}}, {"4", {1000, 1999}}, {"5", {2000, 3000}},
         {"6", {3100, 6500}}, {"7", {6600, 12000}}, {"8", {12100, 99999}}},
        {{"1", {0, 199}}, {"2", {200, 499}}, {"3", {500, 999}}, {"4", {1000, 3000}}, {"5", {3100, 6500}},
         {"6", {6600, 12000}}, {"7", {12100, 99999}}},
        MappedCeilingCategory);
    // Sixteenths of a mile; 9999 for unlimited.
    ExpectWithinOldCategories(
        {{"1", {0, 7}}, {"2", {8, 15}}, {"3", {16, 31}}, {"4", {32, 47}}, {"5", {48, 80}}, {"6", {81, 96}},
         {"7", {97, 9999}}},
        {{"1", {0, 7}}, {"2", {8, 15}}, {"3", {16, 47}}, {"4", {48, 80}}, {"5", {81, 9999}}},
        MappedVisibilityCategory);
}

// The whole mapping, with what is no category passed on as it stands.
TEST(MappedCategories, Table)
{
    struct Expectation {
        int line;
        const char* category;
        const char* ceiling;
        const char* visibility;
    };
    const Expectation kExpect[] = {
        {__LINE__, "1", "1", "1"},  // below 200 ft; below 1/2 mile
        {__LINE__, "2", "2", "2"},  // 200-400 ft; 1/2 to below 1 mile
        {__LINE__, "3", "3", "3"},  // 500-900 ft; 1 to below 2 miles
        {__LINE__, "4", "4", "3"},  // 1000-1900 ft; 2 to below 3 miles
        {__LINE__, "5", "4", "4"},  // 2000-3000 ft; 3 to 5 miles
        {__LINE__, "6", "5", "5"},  // 3100-6500 ft; 6 miles
        {__LINE__, "7", "6", "5"},  // 6600-12000 ft; above 6 miles
        {__LINE__, "8", "7", "8"},  // above 12000 ft or unlimited; no visibility category
        {__LINE__, "9", "9", "9"},  // missing
        {__LINE__, "", "", ""},
        {__LINE__, "X", "X", "X"},
        {__LINE__, "10", "10", "10"},
    };
    for (const Expectation& e : kExpect) {
        SCOPED_TRACE(e.line);
        EXPECT_EQ(MappedCeilingCategory(e.category), e.ceiling);
        EXPECT_EQ(MappedVisibilityCategory(e.category), e.visibility);
    }
}

}  // namespace
}  // namespace skelmar
