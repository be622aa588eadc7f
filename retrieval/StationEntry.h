#pragma once
// A station entry of the station list: "Denver, CO (DEN)=7", the display text, "=", and the
// zone index. The window and the command line take the station's code and zone from it the
// same way.

#include <array>
#include <optional>
#include <string>
#include <string_view>

#include "text/ConfigTexts.h"

namespace skelmar {

// The zone names by zone index 5..8 (the zones' standard offsets west of UTC, in hours).
inline constexpr int kFirstZoneIndex = 5;
inline constexpr std::array<std::string_view, 4> StationZoneNames = {
    "Eastern Standard Time", "Central Standard Time", "Mountain Standard Time", "Pacific Standard Time"};

// The text before the first "=": what the list shows and the report names.
std::string StationDisplayText(std::string_view entry);

// The three characters after the first "(" (fewer when the entry ends sooner); the first
// three characters when there is no "(".
std::string StationCodeOf(std::string_view entry);

// The zone key name for the entry. The zone index (the text after the first "=") must be a
// whole number: otherwise throws Error("'<text>' is not a valid integer value"). An optional
// [TIMEZONES] key of the station code names a zone of its own (Arizona keeps standard time
// all year, so its stations cannot share Mountain time's rules); otherwise the index picks
// from StationZoneNames. nullopt for an index outside 5..8 without such a key: the zone is
// then treated as not found.
std::optional<std::string> StationZoneName(std::string_view entry, const ConfigTexts& config);

}  // namespace skelmar
