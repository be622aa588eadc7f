// Reads any bytes both as a TZif zone file and as a TZ string on its own, and checks what
// comes out: a footer inside the input without line breaks, parsed rules within their
// ranges, and zone records that survive the 44-byte "TZI" form unchanged.

#include <cstddef>
#include <cstdint>
#include <string_view>

#include "fuzz/Require.h"
#include "time/PosixTimeZone.h"
#include "time/TzifFile.h"
#include "time/TzifZoneStore.h"
#include "time/ZoneStore.h"

namespace {

using namespace skelmar;
using fuzz::Require;

void CheckTransition(const PosixTransition& rule)
{
    Require(rule.month >= 1 && rule.month <= 12);
    Require(rule.week >= 1 && rule.week <= 5);
    Require(rule.weekday >= 0 && rule.weekday <= 6);
    Require(rule.time >= 0 && rule.time <= 24 * 3600);
}

void CheckRecord(const TIME_ZONE_INFORMATION& record)
{
    Require(DecodeTzi(EncodeTzi(record)) == record);
    Require(record.StandardDate.wHour <= 23 && record.DaylightDate.wHour <= 23);
    Require((record.StandardDate.wMonth == 0) == (record.DaylightDate.wMonth == 0));
}

void CheckSpec(std::string_view spec)
{
    const std::optional<PosixTimeZone> zone = ParsePosixSpec(spec);
    if (!zone)
        return;
    constexpr int kMaxOffset = 25 * 3600;
    Require(zone->stdAbbr.size() >= 3);
    Require(zone->stdOffset > -kMaxOffset && zone->stdOffset < kMaxOffset);
    if (!zone->dstAbbr.empty()) {
        Require(zone->dstAbbr.size() >= 3);
        CheckTransition(zone->dstStart);
        CheckTransition(zone->dstEnd);
    }
    if (const std::optional<TIME_ZONE_INFORMATION> record = ZoneRecordFromPosix(*zone))
        CheckRecord(*record);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);

    if (const std::optional<std::string_view> footer = TzifFooter(bytes)) {
        Require(footer->data() >= bytes.data() &&
              footer->data() + footer->size() <= bytes.data() + bytes.size());
        Require(footer->find('\n') == std::string_view::npos);
        CheckSpec(*footer);
    }
    if (const std::optional<TIME_ZONE_INFORMATION> record = ZoneRecordFromTzif(bytes))
        CheckRecord(*record);

    CheckSpec(bytes);
    return 0;
}
