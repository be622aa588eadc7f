#pragma once
// The zone store of Linux: the IANA tz database that the system ships, read through the
// Windows key names. Each Windows zone is one entry (its key name from WindowsZones.h); its
// record is the current rule of its IANA zone, the TZ string at the end of that zone's TZif
// file, expressed as a yearly rule.
//
// The entry of a zone, by key name K ("Eastern Standard Time"):
//   "Display" "(UTC-05:00) Eastern Time (US & Canada)": the standard offset, then the place
//             text of the Windows display name;
//   "Std"     K, the name by which Windows knows the zone's standard time;
//   "Dlt"     K with "Standard" turned into "Daylight" ("Eastern Daylight Time"), as Windows
//             names daylight time (K itself when it holds no "Standard");
//   "TZI"     the record of ZoneRecordFromTzif, absent when the file gives none (the
//             "Display" text is then the place text alone).

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "time/PosixTimeZone.h"
#include "time/TimeZoneInformation.h"
#include "time/ZoneStore.h"

namespace skelmar {

// The zone record of a TZ string's rule, the names left empty:
//   Bias          the standard offset in minutes west of UTC;
//   StandardBias  0;
//   DaylightBias  daylight offset less standard offset, in minutes west (-60 for an hour of
//                 daylight saving), 0 without daylight time;
//   DaylightDate  the change to daylight time, StandardDate the change back, as yearly rules
//                 (wYear 0, wMonth, wDay = the week 1..5, wDayOfWeek, time of day); both all
//                 zero without daylight time. A change at 24:00 becomes 23:59:59.999 of that
//                 day, the latest time a SYSTEMTIME can hold (Windows writes such rules so).
// std::nullopt when an offset is not a whole number of minutes. Never throws.
std::optional<TIME_ZONE_INFORMATION> ZoneRecordFromPosix(const PosixTimeZone& zone);

// ZoneRecordFromPosix of the TZ string of a TZif file's bytes; std::nullopt when the file is
// not a TZif file of version 2 or later (TzifFooter) or its TZ string is not accepted
// (ParsePosixSpec, ZoneRecordFromPosix). Never throws.
std::optional<TIME_ZONE_INFORMATION> ZoneRecordFromTzif(std::string_view file);

// "(UTC-05:00) " followed by `place`, the offset being -bias minutes ("(UTC+00:00)" for 0).
std::string ZoneDisplayText(int bias, std::string_view place);

// The record of the IANA zone `id` ("America/Anchorage") of the tz database in `directory`:
// ZoneRecordFromTzif of its file, the name fields holding the rule's abbreviations ("AKST",
// "AKDT"). std::nullopt when `id` is not a zone name (empty, absolute or ending in "/", "//",
// characters other than letters, digits, "/", "_", "+" and "-"), when the file is missing or
// unreadable, or when it gives no record. Never throws.
std::optional<TIME_ZONE_INFORMATION> IanaZoneRecord(const std::filesystem::path& directory, std::string_view id);

// The directory of the system's tz database: the environment variable TZDIR when it is set
// and not empty, else /usr/share/zoneinfo.
std::filesystem::path SystemZoneDirectory();

class TzifZoneStore final : public ZoneStore {
public:
    explicit TzifZoneStore(std::filesystem::path directory);

    // Every Windows key name, sorted byte by byte, when the directory exists and can be
    // listed; otherwise none.
    std::vector<std::string> KeyNames() const override;

    // std::nullopt for a name that is no Windows key, and when the zone's file is missing,
    // cannot be read or is larger than any TZif file (1 MiB). The values without "TZI" when
    // ZoneRecordFromTzif gives no record. Never throws.
    std::optional<ZoneValues> Values(std::string_view keyName) const override;

private:
    std::filesystem::path directory_;
};

}  // namespace skelmar
