#include "time/ZoneStore.h"

#include <iterator>

namespace skelmar {

namespace {

// Offsets of the fields in the "TZI" record.
constexpr std::size_t kBiasAt = 0;
constexpr std::size_t kStandardBiasAt = 4;
constexpr std::size_t kDaylightBiasAt = 8;
constexpr std::size_t kStandardDateAt = 12;
constexpr std::size_t kDaylightDateAt = 28;

void PutLittleEndian(TziRecord& tzi, std::size_t at, std::uint32_t value, std::size_t size)
{
    for (std::size_t i = 0; i < size; ++i)
        tzi[at + i] = static_cast<std::uint8_t>(value >> (8 * i));
}

std::uint32_t GetLittleEndian(const TziRecord& tzi, std::size_t at, std::size_t size)
{
    std::uint32_t value = 0;
    for (std::size_t i = size; i > 0; --i)
        value = (value << 8) | tzi[at + i - 1];
    return value;
}

// The eight 16-bit fields of a SYSTEMTIME in record order.
constexpr std::uint16_t SYSTEMTIME::*kSystemTimeFields[] = {
    &SYSTEMTIME::wYear,   &SYSTEMTIME::wMonth,  &SYSTEMTIME::wDayOfWeek, &SYSTEMTIME::wDay,
    &SYSTEMTIME::wHour,   &SYSTEMTIME::wMinute, &SYSTEMTIME::wSecond,    &SYSTEMTIME::wMilliseconds,
};

void PutSystemTime(TziRecord& tzi, std::size_t at, const SYSTEMTIME& time)
{
    for (std::size_t i = 0; i < std::size(kSystemTimeFields); ++i)
        PutLittleEndian(tzi, at + 2 * i, time.*kSystemTimeFields[i], 2);
}

SYSTEMTIME GetSystemTime(const TziRecord& tzi, std::size_t at)
{
    SYSTEMTIME time;
    for (std::size_t i = 0; i < std::size(kSystemTimeFields); ++i)
        time.*kSystemTimeFields[i] =
            static_cast<std::uint16_t>(GetLittleEndian(tzi, at + 2 * i, 2));
    return time;
}

}  // namespace

TziRecord EncodeTzi(const TIME_ZONE_INFORMATION& zone)
{
    TziRecord tzi{};
    PutLittleEndian(tzi, kBiasAt, static_cast<std::uint32_t>(zone.Bias), 4);
    PutLittleEndian(tzi, kStandardBiasAt, static_cast<std::uint32_t>(zone.StandardBias), 4);
    PutLittleEndian(tzi, kDaylightBiasAt, static_cast<std::uint32_t>(zone.DaylightBias), 4);
    PutSystemTime(tzi, kStandardDateAt, zone.StandardDate);
    PutSystemTime(tzi, kDaylightDateAt, zone.DaylightDate);
    return tzi;
}

TIME_ZONE_INFORMATION DecodeTzi(const TziRecord& tzi)
{
    TIME_ZONE_INFORMATION zone;
    zone.Bias = static_cast<std::int32_t>(GetLittleEndian(tzi, kBiasAt, 4));
    zone.StandardBias = static_cast<std::int32_t>(GetLittleEndian(tzi, kStandardBiasAt, 4));
    zone.DaylightBias = static_cast<std::int32_t>(GetLittleEndian(tzi, kDaylightBiasAt, 4));
    zone.StandardDate = GetSystemTime(tzi, kStandardDateAt);
    zone.DaylightDate = GetSystemTime(tzi, kDaylightDateAt);
    return zone;
}

}  // namespace skelmar
