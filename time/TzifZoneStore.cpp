#include "time/TzifZoneStore.h"

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <system_error>

#include "text/StringRoutines.h"
#include "time/RegistryTimeZones.h"
#include "time/TzifFile.h"
#include "time/WindowsZones.h"

namespace skelmar {

namespace fs = std::filesystem;

namespace {

constexpr int kSecondsPerDay = 24 * 60 * 60;

// Real TZif files stay below 100 KiB; anything far larger is not one, and is not read.
constexpr std::uintmax_t kMaxZoneFileSize = 1024 * 1024;

// `time` is within [0, kSecondsPerDay], as ParsePosixSpec guarantees.
SYSTEMTIME YearlyRule(const PosixTransition& transition)
{
    SYSTEMTIME rule;
    rule.wMonth = static_cast<std::uint16_t>(transition.month);
    rule.wDay = static_cast<std::uint16_t>(transition.week);
    rule.wDayOfWeek = static_cast<std::uint16_t>(transition.weekday);
    if (transition.time >= kSecondsPerDay) {
        rule.wHour = 23;
        rule.wMinute = 59;
        rule.wSecond = 59;
        rule.wMilliseconds = 999;
    } else {
        rule.wHour = static_cast<std::uint16_t>(transition.time / 3600);
        rule.wMinute = static_cast<std::uint16_t>(transition.time / 60 % 60);
        rule.wSecond = static_cast<std::uint16_t>(transition.time % 60);
    }
    return rule;
}

// The bytes of a regular file of at most kMaxZoneFileSize bytes, or nullopt.
std::optional<std::string> ReadZoneFile(const fs::path& path)
{
    std::error_code error;
    if (!fs::is_regular_file(path, error))
        return std::nullopt;
    const std::uintmax_t size = fs::file_size(path, error);
    if (error || size > kMaxZoneFileSize)
        return std::nullopt;
    std::ifstream in(path, std::ios::binary);
    std::string bytes(static_cast<std::size_t>(size), '\0');
    if (!in.read(bytes.data(), static_cast<std::streamsize>(size)))
        return std::nullopt;
    return bytes;
}

}  // namespace

std::optional<TIME_ZONE_INFORMATION> ZoneRecordFromPosix(const PosixTimeZone& zone)
{
    if (zone.stdOffset % 60 != 0 || zone.dstOffset % 60 != 0)
        return std::nullopt;
    TIME_ZONE_INFORMATION record;
    record.Bias = -zone.stdOffset / 60;
    if (zone.dstAbbr.empty())
        return record;
    record.DaylightBias = -(zone.dstOffset - zone.stdOffset) / 60;
    record.DaylightDate = YearlyRule(zone.dstStart);
    record.StandardDate = YearlyRule(zone.dstEnd);
    return record;
}

std::optional<TIME_ZONE_INFORMATION> ZoneRecordFromTzif(std::string_view file)
{
    const std::optional<std::string_view> footer = TzifFooter(file);
    if (!footer)
        return std::nullopt;
    const std::optional<PosixTimeZone> rule = ParsePosixSpec(*footer);
    if (!rule)
        return std::nullopt;
    return ZoneRecordFromPosix(*rule);
}

std::string ZoneDisplayText(int bias, std::string_view place)
{
    const long long offset = -static_cast<long long>(bias);
    const long long magnitude = offset < 0 ? -offset : offset;
    char prefix[48];
    std::snprintf(prefix, sizeof prefix, "(UTC%c%02lld:%02lld) ", offset < 0 ? '-' : '+',
                  magnitude / 60, magnitude % 60);
    return prefix + std::string(place);
}

std::optional<TIME_ZONE_INFORMATION> IanaZoneRecord(const fs::path& directory, std::string_view id)
{
    // The name comes from the configuration: it must stay a path below the directory.
    const bool wellFormed = !id.empty() && id.front() != '/' && id.back() != '/' &&
                            id.find_first_not_of("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789/_+-") ==
                                std::string_view::npos &&
                            id.find("//") == std::string_view::npos;
    if (!wellFormed)
        return std::nullopt;
    const std::optional<std::string> file = ReadZoneFile(directory / std::string(id));
    if (!file)
        return std::nullopt;
    const std::optional<std::string_view> footer = TzifFooter(*file);
    const std::optional<PosixTimeZone> rule = footer ? ParsePosixSpec(*footer) : std::nullopt;
    std::optional<TIME_ZONE_INFORMATION> record = rule ? ZoneRecordFromPosix(*rule) : std::nullopt;
    if (record) {
        record->StandardName = ZoneNameFromText(rule->stdAbbr);
        record->DaylightName = ZoneNameFromText(rule->dstAbbr);
    }
    return record;
}

fs::path SystemZoneDirectory()
{
    const char* const tzdir = std::getenv("TZDIR");
    if (tzdir != nullptr && *tzdir != '\0')
        return tzdir;
    return "/usr/share/zoneinfo";
}

TzifZoneStore::TzifZoneStore(fs::path directory) : directory_(std::move(directory)) {}

std::vector<std::string> TzifZoneStore::KeyNames() const
{
    std::error_code error;
    const fs::directory_iterator listing(directory_, error);
    if (error)
        return {};
    std::vector<std::string> names;
    for (const WindowsZone& zone : WindowsZones())
        names.emplace_back(zone.keyName);
    return names;
}

std::optional<ZoneValues> TzifZoneStore::Values(std::string_view keyName) const
{
    const WindowsZone* const zone = FindWindowsZone(keyName);
    if (zone == nullptr)
        return std::nullopt;
    const std::optional<std::string> file = ReadZoneFile(directory_ / zone->ianaId);
    if (!file)
        return std::nullopt;

    ZoneValues values;
    values.standardName = keyName;
    values.daylightName = keyName;
    ReplaceAll(values.daylightName, "Standard", "Daylight");
    values.display = zone->place;
    if (const std::optional<TIME_ZONE_INFORMATION> record = ZoneRecordFromTzif(*file)) {
        values.display = ZoneDisplayText(record->Bias, zone->place);
        const TziRecord tzi = EncodeTzi(*record);
        values.tzi.emplace(tzi.begin(), tzi.end());
    }
    return values;
}

}  // namespace skelmar
