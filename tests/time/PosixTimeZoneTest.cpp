#include "time/PosixTimeZone.h"

#include <gtest/gtest.h>

namespace skelmar {
namespace {

constexpr int kHour = 3600;

TEST(ParsePosixSpec, WithoutDst)
{
    struct Expectation {
        int line;
        std::string_view spec;
        std::string_view abbr;
        int offset;  // seconds east
    };
    const Expectation kExpect[] = {
        {__LINE__, "MST7", "MST", -7 * kHour},
        {__LINE__, "UTC0", "UTC", 0},
        {__LINE__, "<+03>-3", "+03", 3 * kHour},
        {__LINE__, "<-0330>3:30", "-0330", -(3 * kHour + 30 * 60)},
        {__LINE__, "<+0545>-5:45", "+0545", 5 * kHour + 45 * 60},
        {__LINE__, "ABC+5:00:30", "ABC", -(5 * kHour + 30)},
        {__LINE__, "<+14>-14", "+14", 14 * kHour},
        {__LINE__, "XYZ24", "XYZ", -24 * kHour},
    };
    for (const Expectation& e : kExpect) {
        SCOPED_TRACE(e.line);
        const std::optional<PosixTimeZone> zone = ParsePosixSpec(e.spec);
        ASSERT_TRUE(zone);
        EXPECT_EQ(zone->stdAbbr, e.abbr);
        EXPECT_EQ(zone->stdOffset, e.offset);
        EXPECT_EQ(zone->dstAbbr, "");
        EXPECT_EQ(zone->dstOffset, e.offset);
        EXPECT_EQ(zone->dstStart, PosixTransition{});
        EXPECT_EQ(zone->dstEnd, PosixTransition{});
    }
}

TEST(ParsePosixSpec, WithDst)
{
    struct Expectation {
        int line;
        std::string_view spec;
        PosixTimeZone zone;
    };
    const Expectation kExpect[] = {
        {__LINE__, "EST5EDT,M3.2.0,M11.1.0",  // the time defaults to 02:00
         {"EST", -5 * kHour, "EDT", -4 * kHour, {3, 2, 0, 2 * kHour}, {11, 1, 0, 2 * kHour}}},
        {__LINE__, "AEST-10AEDT,M10.1.0,M4.1.0/3",  // southern hemisphere
         {"AEST", 10 * kHour, "AEDT", 11 * kHour, {10, 1, 0, 2 * kHour}, {4, 1, 0, 3 * kHour}}},
        {__LINE__, "IST-1GMT0,M10.5.0,M3.5.0/1",  // negative daylight saving, week 5 = last
         {"IST", 1 * kHour, "GMT", 0, {10, 5, 0, 2 * kHour}, {3, 5, 0, 1 * kHour}}},
        {__LINE__, "<+1030>-10:30<+11>-11,M10.1.0,M4.1.0",  // half an hour of daylight saving
         {"+1030", 10 * kHour + 1800, "+11", 11 * kHour, {10, 1, 0, 2 * kHour},
          {4, 1, 0, 2 * kHour}}},
        {__LINE__, "<+1245>-12:45<+1345>,M9.5.0/2:45,M4.1.0/3:45",
         {"+1245", 12 * kHour + 2700, "+1345", 13 * kHour + 2700, {9, 5, 0, 2 * kHour + 2700},
          {4, 1, 0, 3 * kHour + 2700}}},
        {__LINE__, "<-04>4<-03>,M9.1.6/24,M4.1.6/24",  // 24:00 is the end of the day
         {"-04", -4 * kHour, "-03", -3 * kHour, {9, 1, 6, 24 * kHour}, {4, 1, 6, 24 * kHour}}},
        {__LINE__, "EST+5EDT+4,M3.2.0/+0,M11.1.0/1:02:03",
         {"EST", -5 * kHour, "EDT", -4 * kHour, {3, 2, 0, 0}, {11, 1, 0, kHour + 123}}},
        {__LINE__, "CST6CDT,M12.4.6/23:59:59,M1.1.1/00:00:00",
         {"CST", -6 * kHour, "CDT", -5 * kHour, {12, 4, 6, 24 * kHour - 1}, {1, 1, 1, 0}}},
    };
    for (const Expectation& e : kExpect) {
        SCOPED_TRACE(e.line);
        EXPECT_EQ(ParsePosixSpec(e.spec), e.zone);
    }
}

TEST(ParsePosixSpec, ErrorCases)
{
    struct Expectation {
        int line;
        std::string_view spec;
    };
    const Expectation kExpect[] = {
        {__LINE__, ""},
        {__LINE__, ":America/New_York"},          // a file name, not a rule
        {__LINE__, "EST"},                        // no offset
        {__LINE__, "ES5"},                        // name too short
        {__LINE__, "<+3>-3"},                     // quoted name too short
        {__LINE__, "<+03-3"},                     // quoted name not closed
        {__LINE__, "<+0 3>-3"},                   // blank inside the quotes
        {__LINE__, "EST25"},                      // offset beyond 24 hours
        {__LINE__, "EST5:60"},
        {__LINE__, "EST5:00:60"},
        {__LINE__, "EST5:"},
        {__LINE__, "EST-"},
        {__LINE__, "EST99999999999999999999"},    // no overflow
        {__LINE__, std::string_view("EST5\0", 5)},
        {__LINE__, "EST5 "},                      // input left over
        {__LINE__, "EST5EDT"},                    // daylight time without its rules
        {__LINE__, "EST5EDT4"},
        {__LINE__, "EST5EDT,M3.2.0"},             // one rule only
        {__LINE__, "EST5EDT,M3.2.0,"},
        {__LINE__, "EST5EDT,M3.2.0,M11.1.0,"},
        {__LINE__, "EST5EDT,M3.2.0,M11.1.0 "},
        {__LINE__, "EST5EDT;M3.2.0,M11.1.0"},
        {__LINE__, "EST5EDT,J60,M11.1.0"},        // Julian day, no leap day counted
        {__LINE__, "EST5EDT,M3.2.0,J300/2"},
        {__LINE__, "EST5EDT,60,M11.1.0"},         // Julian day, leap day counted
        {__LINE__, "EST5EDT,M3.2.0/25,M11.1.0"},  // times beyond 0..24 hours
        {__LINE__, "EST5EDT,M3.2.0/24:00:01,M11.1.0"},
        {__LINE__, "EST5EDT,M3.2.0,M11.1.0/-1"},
        {__LINE__, "EST5EDT,M3.2.0,M11.1.0/-0:00:01"},
        {__LINE__, "EST5EDT,M3.2.0/168,M11.1.0"},
        {__LINE__, "EST5EDT,M0.2.0,M11.1.0"},     // month, week, weekday out of range
        {__LINE__, "EST5EDT,M13.2.0,M11.1.0"},
        {__LINE__, "EST5EDT,M3.0.0,M11.1.0"},
        {__LINE__, "EST5EDT,M3.6.0,M11.1.0"},
        {__LINE__, "EST5EDT,M3.2.7,M11.1.0"},
        {__LINE__, "EST5EDT,M3.2,M11.1.0"},
        {__LINE__, "EST5EDT,M3..0,M11.1.0"},
        {__LINE__, "EST5EDT,M3.2.0/,M11.1.0"},
    };
    for (const Expectation& e : kExpect) {
        SCOPED_TRACE(e.line);
        EXPECT_EQ(ParsePosixSpec(e.spec), std::nullopt);
    }
}

}  // namespace
}  // namespace skelmar
