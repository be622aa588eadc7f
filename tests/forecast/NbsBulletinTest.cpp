#include "forecast/NbsBulletin.h"

#include <iterator>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "tests/support/BulletinFixture.h"

namespace skelmar::nbs {
namespace {

BulletinLines Fixture(std::string_view name)
{
    return ReadBulletinFile(std::string(SKELMAR_FIXTURES) + "/nbs/" + std::string(name));
}

// The lines of fixture `name` from line `first` (0-based) on: a later station's block.
BulletinLines FixtureFrom(std::string_view name, std::size_t first)
{
    const BulletinLines lines = Fixture(name);
    return first < lines.size() ? BulletinLines(lines.begin() + static_cast<std::ptrdiff_t>(first), lines.end())
                                : BulletinLines();
}

std::vector<std::optional<int>> RowOf(const Bulletin& bulletin, std::string_view label)
{
    const auto* row = bulletin.Row(label);
    return row == nullptr ? std::vector<std::optional<int>>() : *row;
}

std::optional<int> At(const Bulletin& bulletin, std::string_view label, int forecastHour)
{
    const auto* row = bulletin.Row(label);
    for (std::size_t i = 0; row != nullptr && i < bulletin.columns.size(); ++i)
        if (bulletin.columns[i].forecastHour == forecastHour)
            return (*row)[i];
    return std::nullopt;
}

Bulletin Read(const BulletinLines& lines)
{
    ReadResult result = ReadNbsBulletin(lines);
    EXPECT_EQ(result.reading, Reading::Read) << result.reason;
    return result.bulletin;
}

TEST(NbsBulletin, ReadsTheHeaderAndTheColumnsOfAnHourlyRun)
{
    const Bulletin kdan = Read(Fixture("nbs_v42_kdan_kdaw_kday_08z.txt"));
    EXPECT_EQ(kdan.identifier, "KDAN");
    EXPECT_EQ(kdan.version, "V4.2");
    EXPECT_EQ(kdan.month, 5);
    EXPECT_EQ(kdan.day, 6);
    EXPECT_EQ(kdan.year, 2025);
    EXPECT_EQ(kdan.issueHour, 8);
    ASSERT_EQ(kdan.columns.size(), 23u);
    EXPECT_EQ(kdan.columns.front().forecastHour, 4);
    EXPECT_EQ(kdan.columns.front().utcHour, 12);
    EXPECT_EQ(kdan.columns[1].forecastHour, 7);
    EXPECT_EQ(kdan.columns.back().forecastHour, 70);
    EXPECT_EQ(kdan.columns.back().utcHour, 6);
}

// Values that touch are read by their columns, not as words.
TEST(NbsBulletin, ReadsValuesThatTouch)
{
    const Bulletin kdan = Read(Fixture("nbs_v42_kdan_kdaw_kday_08z.txt"));
    const std::vector<std::optional<int>> vis = RowOf(kdan, "VIS");
    ASSERT_EQ(vis.size(), 23u);
    for (const auto& value : vis)
        EXPECT_EQ(value, 100);
    EXPECT_EQ(At(kdan, "CIG", 4), kNoCeiling);
    EXPECT_EQ(At(kdan, "CIG", 61), kNoCeiling);
    EXPECT_EQ(At(kdan, "CIG", 64), 90);
    EXPECT_EQ(At(kdan, "CIG", 70), 29);
    EXPECT_EQ(At(kdan, "SLV", 52), 98);
    EXPECT_EQ(At(kdan, "SLV", 58), 100);
    EXPECT_EQ(At(kdan, "LCB", 19), kMissing);  // "-99210"
    EXPECT_EQ(At(kdan, "LCB", 22), 210);
    EXPECT_EQ(At(kdan, "GST", 10), 14);

    const Bulletin kday = Read(FixtureFrom("nbs_v42_kdan_kdaw_kday_08z.txt", 86));
    EXPECT_EQ(kday.identifier, "KDAY");
    EXPECT_EQ(At(kday, "CIG", 34), 45);
    EXPECT_EQ(At(kday, "CIG", 37), 100);  // "45100130"
    EXPECT_EQ(At(kday, "CIG", 40), 130);
    EXPECT_EQ(At(kday, "LCB", 70), 260);  // "60260" at the end of the line
}

// A value over a period stands under the hour its period ends; the other columns are blank.
TEST(NbsBulletin, ReadsPeriodRowsUnderTheHourTheirPeriodEnds)
{
    const Bulletin kfyj = Read(Fixture("nbs_v42_kfyj_12z.txt"));
    EXPECT_EQ(kfyj.columns.front().forecastHour, 6);
    EXPECT_EQ(At(kfyj, "P06", 6), 4);
    EXPECT_EQ(At(kfyj, "P06", 9), std::nullopt);
    EXPECT_EQ(At(kfyj, "P06", 12), 32);
    EXPECT_EQ(At(kfyj, "P12", 12), 36);
    EXPECT_EQ(At(kfyj, "P12", 24), 44);
    EXPECT_EQ(At(kfyj, "Q06", 18), 21);
    EXPECT_EQ(At(kfyj, "T12", 48), 23);
    EXPECT_EQ(At(kfyj, "HID", 6), 4);
    EXPECT_EQ(At(kfyj, "WDR", 9), 9);  // " 9", the column right-aligned

    const Bulletin kdan = Read(Fixture("nbs_v42_kdan_kdaw_kday_08z.txt"));
    EXPECT_EQ(At(kdan, "P06", 4), std::nullopt);
    EXPECT_EQ(At(kdan, "P06", 10), 0);
    EXPECT_EQ(At(kdan, "P06", 70), 38);
    EXPECT_EQ(At(kdan, "P12", 16), 1);
    EXPECT_EQ(At(kdan, "HID", 10), kMissing);
}

// Version 3 wrote 888 for no ceiling and 999 for a missing value, and no blank at the start.
TEST(NbsBulletin, ReadsTheMarksOfVersion3)
{
    const Bulletin kjfk = Read(Fixture("nbs_v32_kjfk_05z.txt"));
    EXPECT_EQ(kjfk.identifier, "KJFK");
    EXPECT_EQ(kjfk.issueHour, 5);
    EXPECT_EQ(At(kjfk, "CIG", 4), kNoCeiling);
    EXPECT_EQ(At(kjfk, "CIG", 70), kMissing);
    EXPECT_EQ(At(kjfk, "LCB", 4), 240);
    EXPECT_EQ(At(kjfk, "LCB", 16), kMissing);
    EXPECT_EQ(At(kjfk, "VIS", 13), 150);
    EXPECT_EQ(At(kjfk, "SOL", 7), 260);
}

// The block ends at the blank line: the next station's rows are not this one's.
TEST(NbsBulletin, ReadsOnlyTheFirstStationOfSeveral)
{
    BulletinLines lines = Fixture("nbs_v42_kdan_kdaw_kday_08z.txt");
    const Bulletin kdan = Read(lines);
    EXPECT_EQ(At(kdan, "TMP", 4), 54);

    // Without the blank line between them, the next title still ends the block.
    lines.erase(lines.begin() + 42);
    const Bulletin joined = Read(lines);
    EXPECT_EQ(At(joined, "TMP", 4), 54);
    EXPECT_EQ(At(joined, "CIG", 4), kNoCeiling);
}

struct Damage {
    const char* what;
    std::size_t line;          // the line of the KFYJ block to change
    std::string replacement;   // "" removes the line
};

// Every broken block is refused, never read with values from another column or row.
TEST(NbsBulletin, RefusesABrokenBlock)
{
    const Damage damages[] = {
        {"no issue date", 0, " KFYJ    NBM V4.2 NBS GUIDANCE    8/29  1200 UTC"},
        {"a date of two-digit year", 0, " KFYJ    NBM V4.2 NBS GUIDANCE    8/29/24  1200 UTC"},
        {"no issue time", 0, " KFYJ    NBM V4.2 NBS GUIDANCE    8/29/2024  2500 UTC"},
        {"no UTC row", 2, ""},
        {"no FHR row", 3, ""},
        {"forecast hours that disagree with the issue hour", 3,
         " FHR  07 10 13 16 19 22 25 28 31 34 37 40 43 46 49 52 55 58 61 64 67 70 73"},
        {"forecast hours that do not grow", 3,
         " FHR  06 09 12 15 18 21 24 27 30 33 36 39 42 45 48 51 54 57 60 63 66 69 45"},
        {"a word in the UTC row", 2,
         " UTC  18 21 00 03 06 09 12 15 18 21 00 03 06 09 12 15 18 21 00 03 06 09 XX"},
        {"no TMP row", 6, ""},
        {"no VIS row", 35, ""},
        {"no CIG row", 32, ""},
        {"a TMP row cut short", 6, " TMP  91 88 80 74 74 73 75 79 81 80 77 73 73 71 74 80 84 84"},
        {"a VIS row cut inside its last value", 35,
         " VIS 100100 90 60 40 10 20 90100 90 80 50 40 60 70100100100100100100100""10"},
        {"a blank in the SKY row", 10, " SKY  10 29 63 83 88 91 90 89 71 75 41    68 69 60 64 41 31 29 29 46 53 40"},
        {"a value that is no number", 13, " WSP   0  1  1  1  0  0  0  0  0  1  0  0  0 x0  0  0  0  0  0  0  0  0  0"},
    };
    const BulletinLines intact = Fixture("nbs_v42_kfyj_12z.txt");
    ASSERT_EQ(ReadNbsBulletin(intact).reading, Reading::Read);
    for (const Damage& damage : damages) {
        BulletinLines lines = intact;
        if (damage.replacement.empty())
            lines.erase(lines.begin() + static_cast<std::ptrdiff_t>(damage.line));
        else
            lines[damage.line] = damage.replacement;
        const ReadResult result = ReadNbsBulletin(lines);
        EXPECT_EQ(result.reading, Reading::Unreadable) << damage.what;
        EXPECT_FALSE(result.reason.empty()) << damage.what;
    }
}

TEST(NbsBulletin, LeavesOtherTextsAlone)
{
    const BulletinLines others[] = {
        {},
        {"", "   "},
        {" KBOS   GFS MOS GUIDANCE    1/14/2026  0000 UTC", " DT /JAN  14"},
        {" BOS   EC NGM MOS GUIDANCE   12/9/05  1200 UTC"},
        {" KDAN    NBM V4.2 NBE GUIDANCE    5/06/2025  0800 UTC"},
        {"<html>", " KDAN    NBM V4.2 NBS GUIDANCE    5/06/2025  0800 UTC"},
    };
    for (const BulletinLines& lines : others)
        EXPECT_EQ(ReadNbsBulletin(lines).reading, Reading::NotNbs) << (lines.empty() ? "" : lines.back());
    EXPECT_TRUE(IsNbsTitle(" KLAX    NBM V5.0 NBS GUIDANCE    7/01/2026  1200 UTC"));
}

// ---- The tables of bounds ----

struct Case {
    int value;
    std::optional<std::string_view> category;
};

void ExpectCategories(const Band* begin, const Band* end, std::initializer_list<Case> cases, const char* table)
{
    for (const Case& c : cases)
        EXPECT_EQ(Categorize(c.value, begin, end), c.category) << table << " " << c.value;
    // The bands follow each other without a gap or an overlap.
    for (const Band* band = begin + 1; band != end; ++band)
        EXPECT_EQ(band->low, (band - 1)->high + 1) << table << " " << band->category;
}

TEST(NbsTables, SkyCoverPercentToCoverCodes)
{
    ExpectCategories(std::begin(kSkyCoverBands), std::end(kSkyCoverBands),
                     {{0, "CL"}, {5, "CL"}, {6, "FW"}, {25, "FW"}, {26, "SC"}, {50, "SC"}, {51, "BK"},
                      {87, "BK"}, {88, "OV"}, {100, "OV"}, {101, std::nullopt}, {kMissing, std::nullopt}},
                     "sky");
}

TEST(NbsTables, CeilingHundredsOfFeetToCategories)
{
    ExpectCategories(std::begin(kCeilingBands), std::end(kCeilingBands),
                     {{0, "1"}, {1, "1"}, {2, "2"}, {4, "2"}, {5, "3"}, {9, "3"}, {10, "4"}, {30, "4"},
                      {31, "5"}, {65, "5"}, {66, "6"}, {120, "6"}, {121, "7"}, {998, "7"}},
                     "ceiling");
    EXPECT_EQ(CeilingCategory(kNoCeiling), "7");
    EXPECT_EQ(CeilingCategory(kMissing), std::nullopt);
    EXPECT_EQ(CeilingCategory(-5), std::nullopt);
    EXPECT_EQ(CeilingCategory(29), "4");
}

TEST(NbsTables, VisibilityTenthsOfAMileToCategories)
{
    ExpectCategories(std::begin(kVisibilityBands), std::end(kVisibilityBands),
                     {{0, "1"}, {4, "1"}, {5, "2"}, {9, "2"}, {10, "3"}, {29, "3"}, {30, "4"}, {50, "4"},
                      {51, "5"}, {100, "5"}, {150, "5"}, {kMissing, std::nullopt}},
                     "visibility");
}

TEST(NbsTables, AmountsInHundredthsToCategories)
{
    ExpectCategories(std::begin(kSixHourAmountBands), std::end(kSixHourAmountBands),
                     {{0, "0"}, {1, "1"}, {9, "1"}, {10, "2"}, {24, "2"}, {25, "3"}, {49, "3"}, {50, "4"},
                      {99, "4"}, {100, "5"}, {250, "5"}, {kMissing, std::nullopt}},
                     "6-hour amount");
    ExpectCategories(std::begin(kTwelveHourAmountBands), std::end(kTwelveHourAmountBands),
                     {{0, "0"}, {9, "1"}, {24, "2"}, {49, "3"}, {99, "4"}, {100, "5"}, {199, "5"},
                      {200, "6"}, {kMissing, std::nullopt}},
                     "12-hour amount");
}

// The type of the highest conditional probability; none when every chance is 0.
TEST(NbsTables, PrecipitationTypeIsTheMostLikely)
{
    Bulletin bulletin;
    bulletin.columns.resize(6);
    //                     col:  0     1     2     3     4         5
    bulletin.rows["PZR"] = {0, 0, 30, 0, std::nullopt, kMissing};
    bulletin.rows["PPL"] = {0, 0, 30, 10, std::nullopt, kMissing};
    bulletin.rows["PSN"] = {0, 60, 20, 45, std::nullopt, kMissing};
    bulletin.rows["PRA"] = {0, 40, 20, 45, std::nullopt, kMissing};
    const std::optional<std::string_view> expected[] = {std::nullopt, "S", "Z", "S", std::nullopt, std::nullopt};
    for (std::size_t column = 0; column < std::size(expected); ++column)
        EXPECT_EQ(MostLikelyType(bulletin, column), expected[column]) << column;

    bulletin.rows.erase("PSN");
    EXPECT_EQ(MostLikelyType(bulletin, 1), "R");
    bulletin.rows["PPL"][3] = 50;
    EXPECT_EQ(MostLikelyType(bulletin, 3), "IP");

    const Bulletin kdaw = Read(FixtureFrom("nbs_v42_kdan_kdaw_kday_08z.txt", 43));
    EXPECT_EQ(kdaw.identifier, "KDAW");
    EXPECT_EQ(MostLikelyType(kdaw, 0), "R");          // PRA 81
    EXPECT_EQ(MostLikelyType(kdaw, 14), std::nullopt);  // every chance 0 at 46 hours
}

TEST(NbsTables, NumbersAsTheReportStatesThem)
{
    EXPECT_EQ(TenthsText(100), "10");
    EXPECT_EQ(TenthsText(25), "2.5");
    EXPECT_EQ(TenthsText(5), "0.5");
    EXPECT_EQ(TenthsText(0), "0");
    EXPECT_EQ(HundredsOfFeetText(29), "2,900");
    EXPECT_EQ(HundredsOfFeetText(7), "700");
    EXPECT_EQ(HundredsOfFeetText(130), "13,000");
    EXPECT_EQ(HundredsOfFeetText(0), "0");
}

}  // namespace
}  // namespace skelmar::nbs
