#include "time/RegistryTimeZones.h"

#include <algorithm>

#include "text/Cp1252.h"
#include "text/Error.h"
#include "time/TzifZoneStore.h"

namespace skelmar {

ZoneName ZoneNameFromText(std::string_view text)
{
    ZoneName name{};
    if (text.size() >= name.size())
        return name;
    // Every character of code page 1252 lies in the Basic Multilingual Plane: one unit each.
    std::transform(text.begin(), text.end(), name.begin(), [](char c) {
        return static_cast<char16_t>(Cp1252ToCodePoint(static_cast<unsigned char>(c)));
    });
    return name;
}

TVeskRegistryTimeZone::TVeskRegistryTimeZone(std::string keyName, std::string displayName,
                                             const TIME_ZONE_INFORMATION& timeZone)
    : keyName_(std::move(keyName)), displayName_(std::move(displayName)), timeZone_(timeZone)
{
}

TVeskRegistryTimeZones::TVeskRegistryTimeZones()
    : TVeskRegistryTimeZones(TzifZoneStore(SystemZoneDirectory()))
{
}

TVeskRegistryTimeZones::TVeskRegistryTimeZones(const ZoneStore& store)
{
    for (std::string& keyName : store.KeyNames()) {
        const std::optional<ZoneValues> values = store.Values(keyName);
        if (!values || !values->tzi || values->tzi->size() != kTziSize)
            continue;  // not a zone
        TziRecord tzi;
        std::copy(values->tzi->begin(), values->tzi->end(), tzi.begin());
        TIME_ZONE_INFORMATION timeZone = DecodeTzi(tzi);
        timeZone.StandardName = ZoneNameFromText(values->standardName);
        timeZone.DaylightName = ZoneNameFromText(values->daylightName);
        zones_.emplace_back(std::move(keyName), values->display, timeZone);
    }
}

const TVeskRegistryTimeZone& TVeskRegistryTimeZones::Items(int index) const
{
    if (index < 0 || index >= Count())
        throw Error("List index out of bounds (" + std::to_string(index) + ")");
    return zones_[static_cast<std::size_t>(index)];
}

const TVeskRegistryTimeZone* TVeskRegistryTimeZones::FindByKeyName(std::string_view keyName) const
{
    const auto found = std::find_if(zones_.begin(), zones_.end(), [keyName](const auto& zone) {
        return zone.KeyName() == keyName;
    });
    return found != zones_.end() ? &*found : nullptr;
}

}  // namespace skelmar
