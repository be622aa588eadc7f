#pragma once
// The platform layout of a zone's rules: the record that the zone database hands out and that
// StationTimeZone holds, and the 44-byte "TZI" form in which a zone store delivers it.

#include <array>
#include <cstdint>

namespace skelmar {

// A date and time, or a transition rule (see ZoneConversion.h for how a rule is read).
struct SYSTEMTIME {
    std::uint16_t wYear = 0;
    std::uint16_t wMonth = 0;
    std::uint16_t wDayOfWeek = 0;  // 0 = Sunday .. 6 = Saturday
    std::uint16_t wDay = 0;
    std::uint16_t wHour = 0;
    std::uint16_t wMinute = 0;
    std::uint16_t wSecond = 0;
    std::uint16_t wMilliseconds = 0;
    bool operator==(const SYSTEMTIME&) const = default;
};

// A zone name: 31 UTF-16 code units at most, NUL-terminated.
using ZoneName = std::array<char16_t, 32>;

struct TIME_ZONE_INFORMATION {
    std::int32_t Bias = 0;          // minutes: UTC = local time + Bias (+ the period's bias)
    ZoneName StandardName{};
    SYSTEMTIME StandardDate;        // change from daylight to standard time
    std::int32_t StandardBias = 0;
    ZoneName DaylightName{};
    SYSTEMTIME DaylightDate;        // change from standard to daylight time
    std::int32_t DaylightBias = 0;
    bool operator==(const TIME_ZONE_INFORMATION&) const = default;
};

// The "TZI" record, little-endian: Bias, StandardBias, DaylightBias (signed 32-bit), then
// StandardDate and DaylightDate (eight unsigned 16-bit fields each).
inline constexpr std::size_t kTziSize = 44;
using TziRecord = std::array<std::uint8_t, kTziSize>;

}  // namespace skelmar
