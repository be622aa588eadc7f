#include "time/ZoneStore.h"

#include <gtest/gtest.h>

#include "time/WindowsZones.h"

namespace skelmar {
namespace {

TEST(Tzi, LittleEndianLayout)
{
    TIME_ZONE_INFORMATION zone;
    zone.Bias = 300;
    zone.StandardBias = 0;
    zone.DaylightBias = -60;
    zone.StandardDate = {0, 11, 0, 1, 2, 0, 0, 0};
    zone.DaylightDate = {2026, 3, 0, 8, 2, 30, 59, 999};
    const TziRecord expected = {
        0x2C, 0x01, 0x00, 0x00,  // Bias 300
        0x00, 0x00, 0x00, 0x00,  // StandardBias 0
        0xC4, 0xFF, 0xFF, 0xFF,  // DaylightBias -60
        0x00, 0x00, 0x0B, 0x00, 0x00, 0x00, 0x01, 0x00,  // StandardDate: year, month, weekday, day
        0x02, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00,  //   hour, minute, second, ms
        0xEA, 0x07, 0x03, 0x00, 0x00, 0x00, 0x08, 0x00,  // DaylightDate
        0x02, 0x00, 0x1E, 0x00, 0x3B, 0x00, 0xE7, 0x03,
    };
    EXPECT_EQ(EncodeTzi(zone), expected);
    EXPECT_EQ(DecodeTzi(expected), zone);
}

TEST(Tzi, RoundTripKeepsEveryFieldButTheNames)
{
    TIME_ZONE_INFORMATION zone;
    zone.Bias = -2147483647 - 1;
    zone.StandardBias = 2147483647;
    zone.DaylightBias = -1;
    zone.StandardDate = {1, 2, 3, 4, 5, 6, 7, 8};
    zone.DaylightDate = {65535, 65534, 9, 10, 11, 12, 13, 32768};
    zone.StandardName[0] = u'X';
    zone.DaylightName[0] = u'Y';

    TIME_ZONE_INFORMATION expected = zone;
    expected.StandardName = {};
    expected.DaylightName = {};
    EXPECT_EQ(DecodeTzi(EncodeTzi(zone)), expected);
}

TEST(WindowsZones, SortedByKeyNameEachOnce)
{
    const auto zones = WindowsZones();
    ASSERT_FALSE(zones.empty());
    for (std::size_t i = 1; i < zones.size(); ++i) {
        SCOPED_TRACE(zones[i].keyName);
        EXPECT_LT(zones[i - 1].keyName, zones[i].keyName);
    }
    for (const WindowsZone& zone : zones) {
        SCOPED_TRACE(zone.keyName);
        EXPECT_EQ(FindWindowsZone(zone.keyName), &zone);
        EXPECT_FALSE(zone.ianaId.empty());
        EXPECT_FALSE(zone.place.empty());
    }
    EXPECT_EQ(FindWindowsZone("eastern standard time"), nullptr);
    EXPECT_EQ(FindWindowsZone("Eastern"), nullptr);
    EXPECT_EQ(FindWindowsZone(""), nullptr);
}

}  // namespace
}  // namespace skelmar
