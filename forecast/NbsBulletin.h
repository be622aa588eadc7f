#pragma once
// The short-range station bulletin of the National Blend of Models (NBM text product "NBS"),
// read column by column.
//
//     KDAN    NBM V4.2 NBS GUIDANCE    5/06/2025  0800 UTC
//     DT /MAY   6      /MAY   7                /MAY   8                /MAY   9
//     UTC  12 15 18 21 00 03 06 09 12 15 18 21 00 03 06 09 12 15 18 21 00 03 06
//     FHR  04 07 10 13 16 19 22 25 28 31 34 37 40 43 46 49 52 55 58 61 64 67 70
//     TMP  54 67 72 73 67 59 55 53 56 71 77 77 70 63 60 57 60 72 78 77 70 64 61
//     P06         0     1     0     0     0     1     3     7     6    30    38
//     CIG -88-88-88-88-88-88-88-88-88-88-88-88-88-88-88-88-88-88-88-88 90 80 29
//     VIS 100100100100100100100100100100100100100100100100100100100100100100100
//
// The NBM is run every hour. Its columns fall on the UTC hours 00, 03, ... 21, so they lie
// 1 to 3 hours off the 6, 9, 12 ... hours after an issue that is not itself at such an hour
// (above: 4, 7, 10 ... hours). Every row stands in the 3-character columns of the UTC row;
// values may touch ("100100", "-88-88"), so a value is the 3 characters that end where the
// column's hour ends, never a word. A value over a period (P06, Q06, T06, ...) stands under
// the hour at which its period ends; other columns of such a row are blank.
//
// The rows and their units (MDL's NBM text bulletin documentation, "NBM text card"):
//   TMP, DPT   temperature, dew point (deg F)
//   SKY        sky cover (percent)
//   WDR        wind direction (tens of degrees), WSP wind speed, GST gust (knots)
//   P06, P12   chance of precipitation over 6 and 12 hours (percent)
//   Q06, Q12   precipitation amount over 6 and 12 hours (hundredths of an inch)
//   T03, T06, T12   chance of a thunderstorm over 3, 6 and 12 hours (percent)
//   PZR, PSN, PPL, PRA   chance of freezing rain, snow, ice pellets, rain should
//              precipitation fall (percent)
//   S06        snowfall over 6 hours (tenths of an inch); I06 ice over 6 hours (hundredths)
//   CIG        ceiling (hundreds of feet; -88 no ceiling); LCB lowest cloud base (hundreds
//              of feet); SLV snow level (hundreds of feet)
//   VIS        visibility (tenths of a statute mile; at most 100, i.e. 10 miles)
//   DUR, SOL, MHT, TWD, TWS, HID, SWH, TXN, XND ...: not used by the report.
// Every row marks a missing value with -99 (version 3 wrote 999, and 888 for no ceiling). A row whose values are all
// missing is not printed at all.

#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace skelmar::nbs {

// The value the product writes for a missing value, and for no ceiling.
inline constexpr int kMissing = -99;
inline constexpr int kNoCeiling = -88;

struct Column {
    int forecastHour = 0;  // hours after the issue, from the FHR row
    int utcHour = 0;       // 0..23, from the UTC row
};

struct Bulletin {
    std::string identifier;  // "KDAN"
    std::string version;     // "V4.2"
    int month = 0, day = 0, year = 0;  // the issue date, four-digit year
    int issueHour = 0;                 // 0..23
    std::vector<Column> columns;
    // Each row's values, one per column; nullopt where the column is blank. A value the
    // product marks missing is kept as kMissing (999 of version 3 becomes kMissing as well, its
    // 888 in CIG and LCB kNoCeiling).
    std::map<std::string, std::vector<std::optional<int>>, std::less<>> rows;

    // The row `label`, or nullptr.
    const std::vector<std::optional<int>>* Row(std::string_view label) const;
};

enum class Reading {
    NotNbs,      // the first line that is not blank is no NBS title
    Read,        // the bulletin is read
    Unreadable,  // an NBS title, but a broken header, hour rows, value or a row missing
};

struct ReadResult {
    Reading reading = Reading::NotNbs;
    Bulletin bulletin;   // when Read
    std::string reason;  // when Unreadable: what is wrong, for the logs and the tests
};

// The first word of a line: a row's label, a title's station identifier.
std::string_view FirstWord(std::string_view line);

// Whether `line` is an NBS title: words 2, 4 and 5 "NBM", "NBS", "GUIDANCE", word 3 a version.
bool IsNbsTitle(std::string_view line);

// Reads the first station block of `lines`: its title is the first line that is not blank;
// the block ends at the next blank line, the next title or the end. Refuses (Unreadable) a
// block without the UTC and FHR rows, with hours that disagree with the issue hour, without
// one of the rows the report needs at every instant (kRequiredRows), with a blank where such a
// row must have a value, or with a value that is not a number.
ReadResult ReadNbsBulletin(const std::vector<std::string>& lines);

// The rows the report needs at every instant; a block without one is refused.
inline constexpr std::string_view kRequiredRows[] = {"TMP", "DPT", "SKY", "WDR", "WSP", "CIG", "VIS"};

// ---- The categories the report states, each from a named table of bounds ----

// A band of values [low, high] and the category it becomes.
struct Band {
    int low;
    int high;
    std::string_view category;
};

// Sky cover percent -> the cover codes of the cloud sentence, by the eighths of the sky that
// the NWS states for its sky-cover words: clear 0/8 (0-5 %), few 1/8-2/8 (6-25 %), scattered
// 3/8-4/8 (26-50 %), broken 5/8-7/8 (51-87 %), overcast 8/8 (88-100 %).
inline constexpr Band kSkyCoverBands[] = {
    {0, 5, "CL"}, {6, 25, "FW"}, {26, 50, "SC"}, {51, 87, "BK"}, {88, 100, "OV"},
};

// Ceiling in hundreds of feet -> the seven ceiling categories of the report: below 200 ft,
// 200-400, 500-900, 1000-3000, 3100-6500, 6600-12000, above 12000 ft (no ceiling, -88, is 7).
inline constexpr Band kCeilingBands[] = {
    {0, 1, "1"}, {2, 4, "2"}, {5, 9, "3"}, {10, 30, "4"}, {31, 65, "5"}, {66, 120, "6"}, {121, 998, "7"},
};

// Visibility in tenths of a mile -> the five visibility categories: below 1/2 mile,
// 1/2 to below 1, 1 to below 3, 3 to 5, above 5 miles.
inline constexpr Band kVisibilityBands[] = {
    {0, 4, "1"}, {5, 9, "2"}, {10, 29, "3"}, {30, 50, "4"}, {51, 998, "5"},
};

// Precipitation amount in hundredths of an inch -> the amount categories: 6-hour 0 to 5,
// 12-hour 0 to 6 (none, 0.01-0.09, 0.10-0.24, 0.25-0.49, 0.50-0.99, 1.00 or more; over 12
// hours 1.00-1.99 and 2.00 or more).
inline constexpr Band kSixHourAmountBands[] = {
    {0, 0, "0"}, {1, 9, "1"}, {10, 24, "2"}, {25, 49, "3"}, {50, 99, "4"}, {100, 998, "5"},
};
inline constexpr Band kTwelveHourAmountBands[] = {
    {0, 0, "0"}, {1, 9, "1"}, {10, 24, "2"}, {25, 49, "3"}, {50, 99, "4"}, {100, 199, "5"}, {200, 998, "6"},
};

// The category of `value` in `bands`; nullopt for a value in no band (missing, negative).
std::optional<std::string_view> Categorize(int value, const Band* begin, const Band* end);
template <std::size_t N>
std::optional<std::string_view> Categorize(int value, const Band (&bands)[N])
{
    return Categorize(value, bands, bands + N);
}

// The ceiling category of a CIG value: -88 (no ceiling) is 7; missing or invalid is nullopt.
std::optional<std::string_view> CeilingCategory(int hundredsOfFeet);

// The precipitation type rows and the type code each stands for: freezing rain Z, ice
// pellets IP, snow S, rain R. On a tie the earlier row wins, the more hazardous type first.
struct TypeRow {
    std::string_view row;
    std::string_view type;
};
inline constexpr TypeRow kPrecipitationTypeRows[] = {{"PZR", "Z"}, {"PPL", "IP"}, {"PSN", "S"}, {"PRA", "R"}};

// The most likely type at column `column`: the row of the highest conditional probability;
// nullopt when none of the rows has a chance above 0 there (all absent, blank, missing or 0).
std::optional<std::string_view> MostLikelyType(const Bulletin& bulletin, std::size_t column);

// "2.5" for 25 tenths, "10" for 100, "0.5" for 5: a visibility in miles as the report states it.
std::string TenthsText(int tenths);

// "1,500" for 15 hundreds of feet: a ceiling in feet as the report states it.
std::string HundredsOfFeetText(int hundreds);

}  // namespace skelmar::nbs
