#pragma once
// Forecast time texts in US Eastern local time, with the default date patterns.

#include "tests/time/TimeTestSupport.h"
#include "time/TimeFormat.h"

namespace skelmar {

inline TimeTextContext EasternLocalTime()
{
    TimeTextContext time;
    time.timeType = TimeType::Local;
    time.zone = testing::Eastern();  // standard time (UTC - 5) in December
    return time;
}

}  // namespace skelmar
