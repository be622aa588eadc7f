#include "time/ZoneConversion.h"

#include <gtest/gtest.h>

#include "TimeTestSupport.h"

#include "text/Error.h"

namespace skelmar {
namespace {

using testing::At;
using testing::Eastern;
using testing::Rule;

TEST(TransitionDate, WeekdayRules)
{
    struct Expectation {
        int line;
        SYSTEMTIME rule;
        int year;
        TDateTime expected;
    };
    const Expectation kExpect[] = {
        {__LINE__, Rule(3, 2, 0, 2), 2026, At(2026, 3, 8, 2)},
        {__LINE__, Rule(11, 1, 0, 2), 2026, At(2026, 11, 1, 2)},  // 1 Nov 2026 is a Sunday
        {__LINE__, Rule(10, 5, 0, 3), 2026, At(2026, 10, 25, 3)},  // last Sunday
        {__LINE__, Rule(10, 5, 0, 3), 2029, At(2029, 10, 28, 3)},
        {__LINE__, Rule(2, 5, 6, 0), 2024, At(2024, 2, 24, 0)},   // last Saturday, leap year
        {__LINE__, Rule(3, 4, 0, 0), 2026, At(2026, 3, 22, 0)},
        {__LINE__, Rule(0, 2, 0, 2), 2026, 0},                    // no transition
        {__LINE__, Rule(3, 8, 0, 2, 2026), 2026, At(2026, 3, 8, 2)},  // fixed date, its year
        {__LINE__, Rule(3, 8, 0, 2, 2026), 2027, 0},                  // another year: none
        {__LINE__, Rule(3, 7, 0, 6), 2026, 0.25},  // wDay outside 1..5: the bare time of day
    };
    for (const Expectation& e : kExpect) {
        SCOPED_TRACE(e.line);
        EXPECT_DOUBLE_EQ(TransitionDate(e.rule, static_cast<std::uint16_t>(e.year)), e.expected);
    }
}

TEST(TransitionDate, ErrorCases)
{
    const auto message = [](const SYSTEMTIME& rule) -> std::string {
        try {
            TransitionDate(rule, 2026);
        } catch (const Error& error) {
            return error.what();
        }
        return "no error";
    };
    EXPECT_EQ(message(Rule(13, 1, 0, 2)), "Invalid argument to date encode");
    EXPECT_EQ(message(Rule(2, 30, 0, 2, 2026)), "Invalid argument to date encode");
    EXPECT_EQ(message(Rule(3, 2, 0, 24)), "Invalid argument to time encode");
    EXPECT_EQ(message(Rule(3, 4, 40, 0)), "Invalid argument to date encode");  // weekday 40
}

TEST(UtcToZoneLocal, NorthernDaylightTime2026)
{
    struct Expectation {
        int line;
        TDateTime utc, local;
    };
    const Expectation kExpect[] = {
        {__LINE__, At(2026, 3, 8, 6, 59), At(2026, 3, 8, 1, 59)},
        {__LINE__, At(2026, 3, 8, 7, 0), At(2026, 3, 8, 3, 0)},    // daylight time begins
        {__LINE__, At(2026, 11, 1, 5, 59), At(2026, 11, 1, 1, 59)},
        {__LINE__, At(2026, 11, 1, 6, 0), At(2026, 11, 1, 1, 0)},  // and ends
        {__LINE__, At(2026, 1, 1, 12, 0), At(2026, 1, 1, 7, 0)},
        {__LINE__, At(2026, 1, 1, 3, 0), At(2025, 12, 31, 22, 0)},  // rules of 2026 applied
        {__LINE__, At(2026, 7, 4, 16, 0), At(2026, 7, 4, 12, 0)},
    };
    for (const Expectation& e : kExpect) {
        SCOPED_TRACE(e.line);
        EXPECT_NEAR(UtcToZoneLocal(Eastern(), e.utc), e.local, 1e-9);
    }
    // Within a tenth of a millisecond before the start counts as the start.
    EXPECT_NEAR(UtcToZoneLocal(Eastern(), At(2026, 3, 8, 7) - 0.5 / 864e6), At(2026, 3, 8, 3), 1e-8);
}

TEST(UtcToZoneLocal, FixedYearAndZonesWithoutDaylightTime)
{
    TIME_ZONE_INFORMATION once = Eastern();
    once.DaylightDate = Rule(3, 8, 0, 2, 2026);
    once.StandardDate = Rule(11, 1, 0, 2, 2026);
    EXPECT_NEAR(UtcToZoneLocal(once, At(2026, 7, 1, 12)), At(2026, 7, 1, 8), 1e-9);
    EXPECT_NEAR(UtcToZoneLocal(once, At(2027, 7, 1, 12)), At(2027, 7, 1, 7), 1e-9);  // no rules

    TIME_ZONE_INFORMATION fixed;
    fixed.Bias = 360;
    fixed.StandardBias = 45;   // not applied without daylight rules
    fixed.DaylightBias = -60;
    fixed.DaylightDate = Rule(0, 0, 0, 0);
    fixed.StandardDate = Rule(13, 99, 9, 99);  // never read: the other month is 0
    EXPECT_NEAR(UtcToZoneLocal(fixed, At(2026, 7, 1, 12)), At(2026, 7, 1, 12) - 0.25, 1e-9);

    EXPECT_EQ(UtcToZoneLocal(TIME_ZONE_INFORMATION{}, 46000.5), 46000.5);  // all zero
}

TEST(UtcToZoneLocal, SouthernHemisphere)
{
    TIME_ZONE_INFORMATION zone;
    zone.Bias = -600;
    zone.DaylightBias = -60;
    zone.DaylightDate = Rule(10, 1, 0, 2);
    zone.StandardDate = Rule(4, 1, 0, 3);
    EXPECT_NEAR(UtcToZoneLocal(zone, At(2026, 1, 15, 0)), At(2026, 1, 15, 11), 1e-9);
    EXPECT_NEAR(UtcToZoneLocal(zone, At(2026, 7, 1, 0)), At(2026, 7, 1, 10), 1e-9);
    EXPECT_NEAR(UtcToZoneLocal(zone, At(2026, 12, 31, 0)), At(2026, 12, 31, 11), 1e-9);
}

TEST(SameTime, TenthOfAMillisecond)
{
    EXPECT_TRUE(SameTime(1.0, 1.0 + 0.9 / 864000000.0));
    EXPECT_FALSE(SameTime(1.0, 1.0 + 1.1 / 864000000.0));
}

}  // namespace
}  // namespace skelmar
