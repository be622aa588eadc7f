#pragma once
// Where the zone list reads its zones from. A store is laid out like the Windows registry's
// zone database: one entry per zone under its key name, each with the texts "Display",
// "Std" and "Dlt" and the 44-byte record "TZI". The list reads any store the same way, so
// the tz database of Linux and a registry reader can stand in for each other.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "time/TimeZoneInformation.h"

namespace skelmar {

// The values of one zone. Texts are code page 1252 and empty when absent; `tzi` holds the
// bytes of "TZI" as stored (any length) and is empty when the value is absent.
struct ZoneValues {
    std::string display;
    std::string standardName;
    std::string daylightName;
    std::optional<std::vector<std::uint8_t>> tzi;
};

class ZoneStore {
public:
    virtual ~ZoneStore() = default;

    // The key names of all zones, in the store's own order. Empty, without error, when the
    // store is missing or cannot be read.
    virtual std::vector<std::string> KeyNames() const = 0;

    // The values of the zone `keyName`, or std::nullopt when that zone cannot be opened.
    // A store may throw Error when a value has the wrong type; the list's construction
    // passes that on.
    virtual std::optional<ZoneValues> Values(std::string_view keyName) const = 0;
};

// The "TZI" record of `zone`, little-endian: Bias, StandardBias, DaylightBias, StandardDate,
// DaylightDate. The names are not part of it.
TziRecord EncodeTzi(const TIME_ZONE_INFORMATION& zone);

// The biases and rules held by `tzi`; the name fields are left empty.
TIME_ZONE_INFORMATION DecodeTzi(const TziRecord& tzi);

}  // namespace skelmar
