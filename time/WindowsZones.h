#pragma once
// The Windows time zone key names ("Eastern Standard Time") with the IANA zone that stands
// for each and the place text of the zone's Windows display name.

#include <span>
#include <string_view>

namespace skelmar {

struct WindowsZone {
    std::string_view keyName;  // "Eastern Standard Time"
    std::string_view ianaId;   // "America/New_York": the zone's file below the tz directory
    std::string_view place;    // "Eastern Time (US & Canada)", the display name after "(UTC...) "
};

// Every Windows zone, sorted by key name byte by byte, each key name once.
std::span<const WindowsZone> WindowsZones();

// The zone with exactly this key name (same case), or nullptr.
const WindowsZone* FindWindowsZone(std::string_view keyName);

}  // namespace skelmar
