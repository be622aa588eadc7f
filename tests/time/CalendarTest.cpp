#include "time/Calendar.h"

#include <array>
#include <cmath>

#include <gtest/gtest.h>

#include "text/Error.h"

namespace skelmar {
namespace {

TEST(DecodeDayNumber, KnownDays)
{
    struct Expectation {
        int line;
        TDateTime t;
        int year, month, day, weekday;
    };
    const Expectation kExpect[] = {
        {__LINE__, 0, 1899, 12, 30, 7},       // day 0 is a Saturday
        {__LINE__, 1, 1899, 12, 31, 1},
        {__LINE__, 2, 1900, 1, 1, 2},
        {__LINE__, 60, 1900, 2, 28, 4},
        {__LINE__, 61, 1900, 3, 1, 5},        // 1900 has no 29 February
        {__LINE__, 36526, 2000, 1, 1, 7},
        {__LINE__, 46000, 2025, 12, 9, 3},
        {__LINE__, 46000.999, 2025, 12, 9, 3},  // a fraction never changes the date
        {__LINE__, 45351, 2024, 2, 29, 5},
        {__LINE__, -693593, 1, 1, 1, 2},      // 1 January 0001
        {__LINE__, 2958465, 9999, 12, 31, 6},
    };
    for (const Expectation& e : kExpect) {
        SCOPED_TRACE(e.line);
        std::uint16_t y, m, d;
        DecodeDayNumber(e.t, y, m, d);
        EXPECT_EQ(y, e.year);
        EXPECT_EQ(m, e.month);
        EXPECT_EQ(d, e.day);
        EXPECT_EQ(YearOf(e.t), e.year);
        EXPECT_EQ(MonthOf(e.t), e.month);
        EXPECT_EQ(DayOfWeek(e.t), e.weekday);
    }
}

TEST(DecodeDayNumber, RoundTripsEveryDayOfTheCalendar)
{
    // Whole range: each day number decodes to a date that encodes back to it, and the
    // weekday advances by one.
    int previousWeekday = DayOfWeek(-693594);
    for (int n = -693593; n <= 2958465; ++n) {
        std::uint16_t y, m, d;
        DecodeDayNumber(n, y, m, d);
        ASSERT_EQ(EncodeDate(y, m, d), n) << n;
        const int weekday = DayOfWeek(n);
        ASSERT_EQ(weekday, previousWeekday % 7 + 1) << n;
        previousWeekday = weekday;
    }
}

TEST(DaysInMonth, LeapYears)
{
    EXPECT_EQ(DaysInMonth(EncodeDate(2000, 2, 10)), 29);
    EXPECT_EQ(DaysInMonth(EncodeDate(1900, 2, 1)), 28);
    EXPECT_EQ(DaysInMonth(EncodeDate(2100, 2, 28)), 28);
    EXPECT_EQ(DaysInMonth(EncodeDate(2026, 4, 30)), 30);
    EXPECT_EQ(DaysInMonth(EncodeDate(2026, 12, 1)), 31);
    EXPECT_TRUE(IsLeapYear(2000));
    EXPECT_FALSE(IsLeapYear(1900));
    EXPECT_FALSE(IsLeapYear(2100));
    EXPECT_TRUE(IsLeapYear(2024));
}

TEST(EncodeDate, ErrorCases)
{
    struct Expectation {
        int line;
        int year, month, day;
    };
    const Expectation kExpect[] = {
        {__LINE__, 2026, 2, 29}, {__LINE__, 2026, 13, 1}, {__LINE__, 2026, 0, 1},
        {__LINE__, 2026, 4, 31}, {__LINE__, 0, 1, 1},     {__LINE__, 10000, 1, 1},
        {__LINE__, 2026, 1, 0},
    };
    for (const Expectation& e : kExpect) {
        SCOPED_TRACE(e.line);
        try {
            EncodeDate(static_cast<std::uint16_t>(e.year), static_cast<std::uint16_t>(e.month),
                       static_cast<std::uint16_t>(e.day));
            ADD_FAILURE() << "no error";
        } catch (const Error& error) {
            EXPECT_STREQ(error.what(), "Invalid argument to date encode");
        }
    }
    EXPECT_EQ(EncodeDate(2024, 2, 29), 45351);
}

TEST(EncodeTime, FractionOfADay)
{
    EXPECT_EQ(EncodeTime(12, 0, 0, 0), 0.5);
    EXPECT_EQ(EncodeTime(0, 0, 0, 0), 0.0);
    EXPECT_DOUBLE_EQ(EncodeTime(23, 59, 59, 999), 86399999.0 / 86400000.0);
    for (const auto& [h, m, s, ms] : {std::array{24, 0, 0, 0}, std::array{0, 60, 0, 0},
                                      std::array{0, 0, 60, 0}, std::array{0, 0, 0, 1000}}) {
        try {
            EncodeTime(static_cast<std::uint16_t>(h), static_cast<std::uint16_t>(m),
                       static_cast<std::uint16_t>(s), static_cast<std::uint16_t>(ms));
            ADD_FAILURE() << h << ":" << m << ":" << s << "." << ms;
        } catch (const Error& error) {
            EXPECT_STREQ(error.what(), "Invalid argument to time encode");
        }
    }
}

TEST(Calendar, EdgeCasesOutsideTheRangeStayDefined)
{
    // Values far outside the calendar give meaningless fields but no undefined behaviour.
    for (const TDateTime t : {1e300, -1e300, 3e9, -3e9, std::nan("")}) {
        std::uint16_t y, m, d;
        DecodeDayNumber(t, y, m, d);
        const int weekday = DayOfWeek(t);
        EXPECT_GE(weekday, 1);
        EXPECT_LE(weekday, 7);
    }
}

}  // namespace
}  // namespace skelmar
