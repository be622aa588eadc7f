#pragma once
// The check of a downloaded bulletin: that it is the bulletin of the station asked for and of
// today (or tomorrow), and its issue time. A pure function of its inputs, so that the window,
// the command line, the fuzzer and the tests call the same rule with nothing standing in.

#include <optional>
#include <string>
#include <string_view>

#include "forecast/BulletinTable.h"
#include "forecast/ForecastModel.h"
#include "time/Calendar.h"

namespace skelmar {

// The program's messages for a refused bulletin.
inline constexpr std::string_view kCorruptedText =
    "Corrupted Weather Text Data file was retrieved from the Internet.\r\nReporting is not valid.";
inline constexpr std::string_view kDateMismatch =
    "The Weather Text Data file does not match this computer's system date\r\n"
    "or this computer's date format is not recognizable.\r\n"
    "Reporting is not valid, correct your clock, or retrieve correct file later.";

struct BulletinVerdict {
    bool accepted = false;
    // What ForecastBaseTime becomes: the issue time of an accepted bulletin; for one refused
    // for its date, that date at midnight (0 for a date that is no date); none for one refused
    // before its date was read.
    std::optional<TDateTime> baseTime;
    // The message of a refused bulletin: kCorruptedText or kDateMismatch; empty when accepted
    // and for a date that is no date (refused silently).
    std::string refusal;
    // What the report and the graph read, set by AcceptBulletin: an accepted GFS or NAM
    // bulletin read as it was downloaded, hour by hour; anything else, the lines left read as a
    // table of the old layout.
    ForecastModel forecast;
};

// Checks `lines` (in the old layout, see TranslateGuidanceBulletin) as the bulletin of
// `stationCode` on the local date `today`. The header is the first line without its first
// character: it must begin with the code (three or four characters) and hold at least seven
// words, the sixth the date ("12/9/05", month first) and the seventh the issue time ("1200"),
// read with `timeSeparator` as the regional time separator. Throws Error("'...' is not a valid integer
// value") or Error("'...' is not a valid time") for a field that does not convert.
BulletinVerdict CheckBulletin(const BulletinLines& lines, std::string_view stationCode, TDateTime today,
                              char timeSeparator);

// An NBM bulletin checked by CheckNbsBulletin and left as it stands; otherwise a GFS or NAM
// guidance bulletin rewritten into the old layout, then CheckBulletin; an accepted
// bulletin's table is normalised. A refused one is left in the old layout. The verdict
// carries the forecast model of the bulletin.
BulletinVerdict AcceptBulletin(BulletinLines& lines, std::string_view stationCode, TDateTime today,
                               char timeSeparator);

// The lines of a downloaded body (SplitBulletinText), cut to the section inside `tag` when
// one is configured (ExtractTaggedSection).
BulletinLines BulletinLinesOf(std::string_view body, std::string_view tag);

// "hh<sep>nn" as a time of day; throws Error("'<text>' is not a valid time").
TDateTime StrToTime(std::string_view text, char separator);

}  // namespace skelmar
