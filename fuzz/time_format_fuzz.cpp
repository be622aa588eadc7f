// Formats a time by any pattern, and converts it with any zone record.

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string_view>

#include "text/Error.h"
#include "time/TimeFormat.h"
#include "time/ZoneConversion.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    skelmar::TDateTime t = 0;
    skelmar::TIME_ZONE_INFORMATION zone;
    if (size < sizeof t + 2 * sizeof(skelmar::SYSTEMTIME) + 4)
        return 0;
    std::memcpy(&t, data, sizeof t);
    data += sizeof t, size -= sizeof t;
    std::memcpy(&zone.DaylightDate, data, sizeof zone.DaylightDate);
    data += sizeof zone.DaylightDate, size -= sizeof zone.DaylightDate;
    std::memcpy(&zone.StandardDate, data, sizeof zone.StandardDate);
    data += sizeof zone.StandardDate, size -= sizeof zone.StandardDate;
    zone.Bias = static_cast<int8_t>(data[0]) * 15;
    zone.DaylightBias = static_cast<int8_t>(data[1]);
    zone.StandardBias = static_cast<int8_t>(data[2]);
    const bool zulu = data[3] & 1;
    data += 4, size -= 4;

    const std::string_view pattern(reinterpret_cast<const char*>(data), size);
    skelmar::FormatSettings settings;
    skelmar::FormatDateTime(pattern, t, settings);
    settings.ShortDateFormat = std::string(pattern);
    skelmar::TimeTextContext context{zulu ? skelmar::TimeType::Zulu : skelmar::TimeType::Local, zone, settings};
    try {
        skelmar::ComputeTimeLabelCaptions(t, pattern, context, 0);
    } catch (const skelmar::Error&) {
        // Rules with out-of-range fields are refused; that is their contract.
    }
    return 0;
}
