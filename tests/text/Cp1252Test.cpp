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

TEST(Cp1252, ReplaceControlCharacters)
{
    struct Expectation {
        int line;
        std::string in;
        std::string out;
    };
    const Expectation kExpect[] = {
        {__LINE__, "line\nand\ttab", "line\nand\ttab"},               // kept
        {__LINE__, "esc\x1B[2J cr\r nul" + std::string(1, '\0'), "esc?[2J cr? nul?"},
        {__LINE__, "del\x7F", "del?"},
        {__LINE__, "c1 \xC2\x80 \xC2\x9D \xC2\x9F", "c1 ? ? ?"},  // U+0080, U+009D, U+009F
        {__LINE__, "\xC2\xA0\xC2\xB0 \xE2\x82\xAC", "\xC2\xA0\xC2\xB0 \xE2\x82\xAC"},  // NBSP, degree, euro
        {__LINE__, "lone lead \xC2", "lone lead \xC2"},
    };
    for (const Expectation& e : kExpect) {
        SCOPED_TRACE(e.line);
        EXPECT_EQ(ReplaceControlCharacters(e.in), e.out);
    }
    // Every byte of the code page through UTF-8: exactly the controls are replaced.
    for (int byte = 0; byte < 256; ++byte) {
        SCOPED_TRACE(byte);
        const char32_t code = Cp1252ToCodePoint(static_cast<unsigned char>(byte));
        const bool control = (code < 0x20 && code != '\n' && code != '\t') || (code >= 0x7F && code <= 0x9F);
        const std::string utf8 = Cp1252ToUtf8(std::string(1, static_cast<char>(byte)));
        EXPECT_EQ(ReplaceControlCharacters(utf8), control ? "?" : utf8);
    }
}

}  // namespace
}  // namespace skelmar
