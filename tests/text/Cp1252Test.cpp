#include "text/Cp1252.h"

#include <gtest/gtest.h>

namespace skelmar {
namespace {

TEST(Cp1252, RoundTripsEveryByte)
{
    for (int b = 0; b < 256; ++b) {
        SCOPED_TRACE(b);
        const std::string one(1, static_cast<char>(b));
        EXPECT_EQ(Utf8ToCp1252(Cp1252ToUtf8(one)), one);
    }
}

TEST(Cp1252, KnownCharacters)
{
    EXPECT_EQ(Cp1252ToUtf8("72\xB0 F"), "72\xC2\xB0 F");       // degree sign
    EXPECT_EQ(Cp1252ToUtf8("\x80"), "\xE2\x82\xAC");            // euro sign
    EXPECT_EQ(Utf8ToCp1252("\xE2\x80\x94"), "\x97");            // em dash
    EXPECT_EQ(Utf8ToCp1252("\xE4\xB8\xAD"), "?");               // not in the code page
    EXPECT_EQ(Utf8ToCp1252("a\xFF" "b"), "a?b");                 // malformed byte
    EXPECT_EQ(Utf8ToCp1252("\xC0\xAF"), "??");                   // overlong form
}

TEST(Cp1252, LooksLikeUtf8)
{
    EXPECT_TRUE(LooksLikeUtf8("72\xC2\xB0 F"));
    EXPECT_FALSE(LooksLikeUtf8("72\xB0 F"));   // a code page 1252 degree sign
    EXPECT_FALSE(LooksLikeUtf8("plain ascii"));  // nothing to convert
    EXPECT_FALSE(LooksLikeUtf8("\xE2\x82"));     // truncated sequence
}

}  // namespace
}  // namespace skelmar
