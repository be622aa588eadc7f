#pragma once
// The list of time zones that the window builds once and in which the station selection looks
// up its zone by key name. It is read from a zone store (ZoneStore.h): by default the
// system's tz database, in a Windows registry's layout.

#include <string>
#include <string_view>
#include <vector>

#include "time/TimeZoneInformation.h"
#include "time/ZoneStore.h"

namespace skelmar {

// `text` (code page 1252) as a name field: copied whole, in UTF-16, when it has at most 31
// characters; otherwise the field stays empty, as the registry's conversion leaves it.
ZoneName ZoneNameFromText(std::string_view text);

// One zone of the list.
class TVeskRegistryTimeZone {
public:
    TVeskRegistryTimeZone(std::string keyName, std::string displayName,
                          const TIME_ZONE_INFORMATION& timeZone);

    const std::string& DisplayName() const { return displayName_; }
    const std::string& KeyName() const { return keyName_; }  // "Eastern Standard Time"
    const TIME_ZONE_INFORMATION& TimeZone() const { return timeZone_; }

private:
    std::string keyName_;
    std::string displayName_;
    TIME_ZONE_INFORMATION timeZone_;
};

// The zones of a store, in the store's order, each entry owned by the list.
class TVeskRegistryTimeZones {
public:
    // Built from the system's tz database (TzifZoneStore at SystemZoneDirectory()). A missing
    // or unreadable database gives an empty list, without error.
    TVeskRegistryTimeZones();

    // Built from `store`: for each key name, in the store's order, the zone is taken when it
    // can be opened and its "TZI" is exactly 44 bytes, and skipped otherwise. "Display"
    // becomes DisplayName; "Std" and "Dlt" the name fields (ZoneNameFromText). An Error
    // thrown by the store ends the construction and passes on.
    explicit TVeskRegistryTimeZones(const ZoneStore& store);

    int Count() const { return static_cast<int>(zones_.size()); }

    // The zone at `index` (from 0). Throws Error("List index out of bounds (<index>)") for an
    // index outside 0..Count()-1.
    const TVeskRegistryTimeZone& Items(int index) const;

    // The first zone whose KeyName equals `keyName` exactly (same case), or nullptr.
    const TVeskRegistryTimeZone* FindByKeyName(std::string_view keyName) const;

private:
    std::vector<TVeskRegistryTimeZone> zones_;
};

}  // namespace skelmar
