#include "text/Numbers.h"

#include <gtest/gtest.h>

#include "text/Error.h"

namespace skelmar {
namespace {

TEST(ParseInteger, SignAndDecimalDigitsOnly)
{
    struct Expectation {
        int line;
        std::string_view text;
        std::optional<int> value;
    };
    const Expectation kExpect[] = {
        {__LINE__, "07", 7},
        {__LINE__, "-40", -40},
        {__LINE__, "+5", 5},
        {__LINE__, "0", 0},
        {__LINE__, "2147483647", 2147483647},
        {__LINE__, "-2147483648", -2147483647 - 1},
        {__LINE__, "2147483648", std::nullopt},
        {__LINE__, "99999999999999999999", std::nullopt},
        {__LINE__, "", std::nullopt},
        {__LINE__, "-", std::nullopt},
        {__LINE__, " 5", std::nullopt},
        {__LINE__, "5 ", std::nullopt},
        {__LINE__, "1.5", std::nullopt},
        {__LINE__, "0x10", std::nullopt},
        {__LINE__, "X", std::nullopt},
    };
    for (const Expectation& e : kExpect) {
        SCOPED_TRACE(e.line);
        EXPECT_EQ(ParseInteger(e.text), e.value);
    }
}

TEST(StrToInt, ErrorNamesTheText)
{
    EXPECT_EQ(StrToInt("12"), 12);
    try {
        StrToInt("");
        FAIL() << "no error";
    } catch (const Error& error) {
        EXPECT_STREQ(error.what(), "'' is not a valid integer value");
    }
    try {
        StrToInt("1x");
        FAIL() << "no error";
    } catch (const Error& error) {
        EXPECT_STREQ(error.what(), "'1x' is not a valid integer value");
    }
    EXPECT_EQ(StrToIntDef("abc", 0), 0);
    EXPECT_EQ(StrToIntDef("-3", 0), -3);
}

}  // namespace
}  // namespace skelmar
