#pragma once
// Today's guidance bulletins in the table layout the program reads.
//
// The bulletin the program was built for (title "NGM MOS GUIDANCE") is no longer issued. Its
// successors carry the same elements in a newer layout: the GFS guidance (AFOS "MAV", title
// "GFS MOS GUIDANCE") and the NAM guidance ("MET", "NAM MOS GUIDANCE"):
//
//    KJFK   GFS MOS GUIDANCE    4/20/2026  1200 UTC
//    DT /APR  20/APR  21                /APR  22                /APR  23
//    HR   18 21 00 03 06 09 12 15 18 21 00 03 06 09 12 15 18 21 00 06 12
//    N/X                    46          58          44          61    47
//    TMP  52 55 56 55 52 50 48 48 50 53 56 57 54 51 48 46 49 55 60 49 48
//    ...
//    P06        47    82    90    38     8     2     1     0     2 12 35
//    T06      1/ 0  3/ 1  8/ 2  4/ 1  0/ 0  0/ 0  0/ 0  0/ 0  1/ 0  2/ 0
//
// Every row stands in the 3-character columns of the HR row, whose hours of the day give the
// forecast hour of each column (6 to 60 every 3 hours, then 66 and 72). A value that covers a
// period (P06, P12, Q06, Q12, T06, T12) stands under the hour at which its period ends; the
// T06 and T12 pairs 'a/ b' end in that column. Lines may or may not begin with a blank.
//
// TranslateGuidanceBulletin rewrites such a bulletin into the old layout right after the
// bulletin has been cut out of its page, so that the header check, the date check and the
// normalisation work on it unchanged. The report and the graph do not read the translated
// table: they read the forecast model, which ReadGuidanceForecast (forecast/ForecastReaders.h)
// reads from the bulletin as downloaded, every value at its own hour. The translation:
//
//    JFK   MAV GFS MOS GUIDANCE   4/20/26  1200 UTC
//   HOUR   18 21 00 03 06 09 12 15 18 21 00 03 06 09 12 15 18 21 00
//   MN/MX                    46          58          44          61
//   TEMP   52 55 56 55 52 50 48 48 50 53 56 57 54 51 48 46 49 55 60
//   ...
//
//  - Header: characters 2 to 4 the station code (the identifier without its leading K, or P
//    for Alaska and Hawaii), word 6 the date with a two-digit year, word 7 the issue time.
//  - Rows: N/X and X/N become MN/MX and MX/MN; TMP, DPT, CLD, WDR, WSP, P06, P12, T06, T12,
//    TYP, CIG, VIS, OBV become TEMP, DEWPT, CLDS, WDIR, WSPD, POP06, POP12, TSV06, TSV12,
//    PTYPE, CIG, VIS, OBVIS; Q06 and Q12 become the one QPF row of 'a/' and 'a/b' values.
//    POZ, POS, SNW and rows the old table has no place for are left out.
//  - Each value goes into the cell the old table gives the forecast hour of its column: the
//    19 three-hourly cells of hours 6 to 60; for CIG, VIS and OBVIS hours 6 to 36, 42 and 48;
//    for PTYPE hours 6 to 36, 42, 48, 54 and 60; the 6-hour rows at the period ends 12 to 60,
//    the 12-hour rows at 24, 36, 48 and 60. Hours 66 and 72 have no cell.
//  - A period row whose values end at other hours is left out, with a note line above the
//    table: its periods are not the report's, and the report says nothing it cannot back.
//    The runs of 00 and 12 UTC end their 12-hour thunderstorm periods (T12) at 18, 30, 42,
//    54 and 66 hours; those of 06 and 18 UTC their 12-hour precipitation periods (P12, Q12).
//  - Since the old table takes each row's values by their order, a row is carried only up to
//    its first cell without a value; the products write 999, 99 or 9 for a missing value
//    rather than leave a column blank, and those codes are carried as they stand.
//  - TEMP and DEWPT are written in the fixed 3-character columns from the 7th character on,
//    so that negative and three-digit values may touch; every other value is right-aligned
//    in the column of its hour, moved right where it would touch the value before it.
//  - Codes keep their own keys into the configuration texts, except the ceiling and
//    visibility categories, which are mapped onto the old ones (MappedCeilingCategory,
//    MappedVisibilityCategory).

#include <string>
#include <string_view>

#include "forecast/BulletinTable.h"

namespace skelmar {

enum class GuidanceTranslation {
    NotGuidance,  // no GFS or NAM title: the lines are untouched (the old layout, say)
    Translated,   // the lines now hold the bulletin in the old layout
    Unreadable,   // a GFS or NAM title without a readable issue time or HR row: untouched
};

// The title is the first line that is not blank; its words 2 to 4 must be "GFS MOS GUIDANCE"
// or "NAM MOS GUIDANCE". The bulletin runs from there to the next blank line or the next
// title; everything outside it is dropped. An Unreadable bulletin keeps its four-letter
// identifier in its header, so the header check refuses it as corrupted.
GuidanceTranslation TranslateGuidanceBulletin(BulletinLines& lines);

// The ceiling categories of the products (1 to 8) on the old ones (1 to 7), keeping the
// boundaries of the flight categories at 500, 1000 and 3000 feet:
//   1 below 200 ft -> 1;  2 200-400 ft -> 2;  3 500-900 ft -> 3;
//   4 1000-1900 ft and 5 2000-3000 ft -> 4 (1000-3000 ft);
//   6 3100-6500 ft -> 5;  7 6600-12000 ft -> 6;  8 above 12000 ft or unlimited -> 7.
// Anything else (the missing value 9 included) is returned as it stands.
std::string MappedCeilingCategory(std::string_view category);

// The visibility categories of the products (1 to 7) on the old ones (1 to 5), keeping the
// boundaries at 1, 3 and 5 miles:
//   1 below 1/2 mi -> 1;  2 1/2 to below 1 mi -> 2;
//   3 1 to below 2 mi and 4 2 to below 3 mi -> 3 (1 to below 3 mi);  5 3-5 mi -> 4;
//   6 6 mi and 7 above 6 mi -> 5 (above 5 mi).
// Anything else (the missing value 9 included) is returned as it stands.
std::string MappedVisibilityCategory(std::string_view category);

}  // namespace skelmar
