#include "retrieval/StationEntry.h"

#include "text/Numbers.h"
#include "text/StringRoutines.h"

namespace skelmar {

std::string StationDisplayText(std::string_view entry)
{
    return ExtractField(entry, '=', 1);
}

std::string StationCodeOf(std::string_view entry)
{
    const std::size_t open = entry.find('(');
    if (open == std::string_view::npos)
        return LeftChars(entry, 3);
    return std::string(entry.substr(open + 1, 3));
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

}  // namespace skelmar
