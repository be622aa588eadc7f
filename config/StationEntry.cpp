#include "config/StationEntry.h"

#include <algorithm>

#include "text/Error.h"
#include "text/Numbers.h"
#include "text/StringRoutines.h"
#include "time/RegistryTimeZones.h"
#include "time/TzifZoneStore.h"

namespace skelmar {

namespace {

bool IsCodeCharacter(char c)
{
    return (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9');
}

}  // namespace

std::string StationDisplayText(std::string_view entry)
{
    return ExtractField(entry, '=', 1);
}

std::string StationCodeOf(std::string_view entry)
{
    const std::string_view display = entry.substr(0, entry.find('='));
    const std::size_t open = display.find('(');
    if (open == std::string_view::npos)
        return {};
    const std::size_t close = display.find(')', open);
    if (close == std::string_view::npos)
        return {};
    const std::string_view code = display.substr(open + 1, close - open - 1);
    if (code.size() < 3 || code.size() > 4 || !std::all_of(code.begin(), code.end(), IsCodeCharacter))
        return {};
    return std::string(code);
}

StationEntry ParseStationEntry(std::string_view entry)
{
    StationEntry station{StationDisplayText(entry), StationCodeOf(entry)};
    if (station.code.empty())
        throw Error("The station \"" + station.displayText +
                    "\" has no station code in parentheses: that takes 3 or 4 capital letters or digits");
    return station;
}

void CheckStationCodeUnique(std::span<const std::string> entries, std::string_view code)
{
    const auto count = std::count_if(entries.begin(), entries.end(),
                                     [code](const std::string& entry) { return StationCodeOf(entry) == code; });
    if (count > 1)
        throw Error("The station code " + std::string(code) + " stands in " + std::to_string(count) +
                    " entries of [STATIONS] in Skelmar.ini; each station needs a code of its own");
}

std::optional<std::string> StationZoneName(std::string_view entry, const ConfigTexts& config)
{
    // The index is read first, as before any zone is looked up: a bad one is an error.
    const int zoneIndex = StrToInt(ExtractField(entry, '=', 2));
    const std::string code = StationCodeOf(entry);
    if (!code.empty()) {
        std::string own = config.Value("TIMEZONES", code);
        if (!own.empty())
            return own;
    }
    const int slot = zoneIndex - kFirstZoneIndex;
    if (slot < 0 || slot >= static_cast<int>(StationZoneNames.size()))
        return std::nullopt;
    return std::string(StationZoneNames[static_cast<std::size_t>(slot)]);
}

TIME_ZONE_INFORMATION StationTimeZone(std::string_view entry, const ConfigTexts& config,
                                      const TVeskRegistryTimeZones* zones,
                                      const std::filesystem::path& zoneDirectory)
{
    const std::optional<std::string> name = StationZoneName(entry, config);
    const std::string station = StationDisplayText(entry);
    if (!name)
        throw Error("The station \"" + station + "\" has no time zone: its zone index " + ExtractField(entry, '=', 2) +
                    " is none of 5 to 8, and [TIMEZONES] in Skelmar.ini names no zone for it");
    if (zones != nullptr)
        if (const TVeskRegistryTimeZone* zone = zones->FindByKeyName(*name))
            return zone->TimeZone();
    if (const std::optional<TIME_ZONE_INFORMATION> zone = IanaZoneRecord(zoneDirectory, *name))
        return *zone;
    throw Error("The time zone \"" + *name + "\" of the station \"" + station +
                "\" is not in the time zone database (" + zoneDirectory.string() + ")");
}

}  // namespace skelmar
