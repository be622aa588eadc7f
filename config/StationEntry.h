#pragma once
// A station entry of the station list: "Garden City, KS (GCK)=6" or "Anchorage, AK (PANC)=9":
// the display text, "=", and the zone index. The display text holds the station's code in
// parentheses: three letters or digits for a station of the contiguous states (its ICAO
// identifier without the leading "K"), four for any other (its whole ICAO identifier). The
// window, the report, the graph and the command line all read an entry here.

#include <array>
#include <filesystem>
#include <optional>
#include <span>
#include <string>
#include <string_view>

#include "text/ConfigTexts.h"
#include "time/TimeZoneInformation.h"

namespace skelmar {

class TVeskRegistryTimeZones;

// The zone names by zone index 5..8 (the zones' standard offsets west of UTC, in hours).
inline constexpr int kFirstZoneIndex = 5;
inline constexpr std::array<std::string_view, 4> StationZoneNames = {
    "Eastern Standard Time", "Central Standard Time", "Mountain Standard Time", "Pacific Standard Time"};

// The text before the first "=": what the list shows and the report names.
std::string StationDisplayText(std::string_view entry);

// The code between the first "(" of the display text and the next ")" when it is 3 or 4
// capital letters or digits ("GCK", "PANC", "1V4"); otherwise "". Never throws.
std::string StationCodeOf(std::string_view entry);

// An entry read whole.
struct StationEntry {
    std::string displayText;  // "Anchorage, AK (PANC)"
    std::string code;         // "PANC"
};

// Throws Error naming the entry when it holds no code of 3 or 4 letters or digits.
StationEntry ParseStationEntry(std::string_view entry);

// Throws Error when `code` is the code of more than one of `entries` (a list's entries):
// the station's clock and address would depend on which one the [TIMEZONES] key meant.
void CheckStationCodeUnique(std::span<const std::string> entries, std::string_view code);

// The zone name for the entry. The zone index (the text after the first "=") must be a
// whole number: otherwise throws Error("'<text>' is not a valid integer value"). An optional
// [TIMEZONES] key of the station code names a zone of its own, either a key name of the zone
// list ("US Mountain Standard Time") or an IANA zone ("America/Anchorage"); otherwise the
// index picks from StationZoneNames. nullopt for an index outside 5..8 without such a key.
std::optional<std::string> StationZoneName(std::string_view entry, const ConfigTexts& config);

// The zone record of the entry's station: StationZoneName looked up by key name in `zones`
// (which may be null), else as an IANA zone of the tz database in `zoneDirectory`. Throws
// Error for a bad zone index, for an index that names no zone, and for a zone found in
// neither, so that a station never silently gets another station's clock or UTC.
TIME_ZONE_INFORMATION StationTimeZone(std::string_view entry, const ConfigTexts& config,
                                      const TVeskRegistryTimeZones* zones,
                                      const std::filesystem::path& zoneDirectory);

}  // namespace skelmar
