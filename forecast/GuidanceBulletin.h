#pragma once
// Today's guidance bulletins: the GFS guidance (AFOS "MAV", title "GFS MOS GUIDANCE") and the
// NAM guidance ("MET", "NAM MOS GUIDANCE"):
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
// period (P06, P12, Q06, Q12, T06, T12, N/X, SNW) stands under the hour at which its period
// ends; the T06 and T12 pairs 'a/ b' end in that column. Lines may or may not begin with a
// blank.

#include <map>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "forecast/BulletinTable.h"
#include "text/StringRoutines.h"

namespace skelmar {

// A column of the HR row: where its values end, counted from the first character of a row's
// label, and the forecast hour they are for.
struct GuidanceColumn {
    std::size_t end;
    int hour;
};

// A row's values by the forecast hour of the column they stand in.
using HourValues = std::map<int, std::string>;

// One station's bulletin as it stands in the lines.
struct GuidanceBulletin {
    TWordList title;  // "KJFK" "GFS" "MOS" "GUIDANCE" "4/20/2026" "1200" "UTC"
    int issueHour = 0;
    // The rows by label, the first of each, as they stand in the lines.
    std::map<std::string, std::string_view> rows;
    std::vector<GuidanceColumn> columns;

    bool Has(const std::string& label) const { return rows.contains(label); }
    // Each column's text without its blanks, by forecast hour; a blank column has no value,
    // nor has a row that is not there.
    HourValues Values(const std::string& label) const;
    // The pairs 'a/ b' of a T06 or T12 row as "a/b" ("a/ b" when b has one digit), by the
    // hour of the column in which the pair ends. A pair that ends in no column is not read.
    HourValues Pairs(const std::string& label) const;
};

enum class GuidanceRead {
    NotGuidance,  // no GFS or NAM title
    Read,
    Unreadable,   // a GFS or NAM title without a readable issue time or HR row
};

// The title is the first line that is not blank; its words 2 to 4 must be "GFS MOS GUIDANCE"
// or "NAM MOS GUIDANCE". The bulletin runs from there to the next blank line or the next
// title. `bulletin` is filled when the answer is Read; it points into `lines`.
GuidanceRead ReadGuidanceBulletinRows(const BulletinLines& lines, GuidanceBulletin& bulletin);

}  // namespace skelmar
