#include "time/Clock.h"

#include <ctime>

namespace skelmar {

TDateTime SystemClock::Today() const
{
    const std::time_t now = std::time(nullptr);
    std::tm local{};
    localtime_r(&now, &local);
    return EncodeDate(static_cast<std::uint16_t>(local.tm_year + 1900),
                      static_cast<std::uint16_t>(local.tm_mon + 1), static_cast<std::uint16_t>(local.tm_mday));
}

}  // namespace skelmar
