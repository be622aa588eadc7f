#include "text/StringRoutines.h"

#include <gtest/gtest.h>

namespace skelmar {
namespace {

TEST(ExtractField, CutsAtEveryDelimiter)
{
    struct Expectation {
        int line;
        std::string_view text;
        char delimiter;
        int n;
        std::string_view field;
    };
    const Expectation kExpect[] = {
        {__LINE__, "12/9/05", '/', 1, "12"},
        {__LINE__, "12/9/05", '/', 2, "9"},
        {__LINE__, "12/9/05", '/', 3, "05"},
        {__LINE__, "12/9/05", '/', 4, ""},
        {__LINE__, "A  B", ' ', 2, ""},   // two delimiters enclose an empty field
        {__LINE__, "A  B", ' ', 3, "B"},
        {__LINE__, " A", ' ', 1, ""},     // a leading delimiter opens an empty first field
        {__LINE__, " A", ' ', 2, "A"},
        {__LINE__, "A ", ' ', 2, ""},
        {__LINE__, "A ", ' ', 3, ""},
        {__LINE__, "A B", ' ', 0, ""},
        {__LINE__, "A B", ' ', -1, ""},
        {__LINE__, "", ' ', 1, ""},
        {__LINE__, "", ' ', 2, ""},
        {__LINE__, "Denver (DEN)=7", '=', 1, "Denver (DEN)"},
        {__LINE__, "Denver (DEN)=7", '=', 2, "7"},
        {__LINE__, "Denver (DEN)", '=', 1, "Denver (DEN)"},  // no delimiter: its own field 1
        {__LINE__, "Denver (DEN)", '=', 2, ""},
        {__LINE__, "a=b=c", '=', 2, "b"},
    };
    for (const Expectation& e : kExpect) {
        SCOPED_TRACE(e.line);
        EXPECT_EQ(ExtractField(e.text, e.delimiter, e.n), e.field);
    }
}

TEST(SplitWords, MaximalRunsOfNonBlanks)
{
    TWordList words{"old", "words"};
    SplitWords("  BOS   NGM  ", words);
    EXPECT_EQ(words, (TWordList{"BOS", "NGM"}));

    SplitWords("", words);
    EXPECT_TRUE(words.empty());
    SplitWords("    ", words);
    EXPECT_TRUE(words.empty());

    // Only the blank separates: a tab belongs to the word.
    SplitWords("a\tb c", words);
    EXPECT_EQ(words, (TWordList{"a\tb", "c"}));
}

TEST(Trim, BothEndsAndLeftOnly)
{
    EXPECT_EQ(TrimChar("  MN/MX  ", ' '), "MN/MX");
    EXPECT_EQ(TrimChar("   ", ' '), "");
    EXPECT_EQ(TrimChar("", ' '), "");
    EXPECT_EQ(TrimChar("A  B", ' '), "A  B");
    EXPECT_EQ(TrimChar("\tA ", ' '), "\tA");  // only the given character counts
    EXPECT_EQ(TrimCharLeft("  TEMP 41 ", ' '), "TEMP 41 ");
    EXPECT_EQ(TrimCharLeft("", ' '), "");
    EXPECT_EQ(TrimCharLeft("   ", ' '), "");
}

TEST(LeftRightChars, Counts)
{
    EXPECT_EQ(LeftChars("LabelTime06", 9), "LabelTime");
    EXPECT_EQ(RightChars("LabelTime06", 2), "06");
    EXPECT_EQ(RightChars("ab", 5), "ab");
    EXPECT_EQ(LeftChars("ab", 5), "ab");
    EXPECT_EQ(LeftChars("ab", 0), "");
    EXPECT_EQ(LeftChars("ab", -3), "");
    EXPECT_EQ(RightChars("ab", 0), "");
    EXPECT_EQ(RightChars("ab", -1), "");
    EXPECT_EQ(RightChars("", 1), "");
}

TEST(ReplaceAll, OnePassLeftToRight)
{
    struct Expectation {
        int line;
        std::string_view text, search, replacement;
        std::string_view result;
        int count;
    };
    const Expectation kExpect[] = {
        {__LINE__, "a    b", "  ", " ", "a  b", 2},  // one pass does not collapse a run
        {__LINE__, "aaa", "aa", "b", "ba", 1},       // occurrences never overlap
        {__LINE__, "10/ 20", "/ ", "/", "10/20", 1},
        {__LINE__, "10/ 20", "", "x", "10/ 20", 0},  // empty search: no change
        {__LINE__, "abc", "x", "y", "abc", 0},
        {__LINE__, "", "a", "b", "", 0},
        {__LINE__, "abab", "ab", "", "", 2},          // empty replacement deletes
        {__LINE__, "a", "a", "aa", "aa", 1},          // brought-in text is not searched again
        {__LINE__, "xAx", "a", "b", "xAx", 0},        // case matters
        {__LINE__, "ab", "ab", "abab", "abab", 1},
    };
    for (const Expectation& e : kExpect) {
        SCOPED_TRACE(e.line);
        std::string text(e.text);
        EXPECT_EQ(ReplaceAll(text, e.search, e.replacement), e.count);
        EXPECT_EQ(text, e.result);
    }
}

TEST(ReplaceAll, ManyOccurrencesBeyondOnePositionBlock)
{
    // More than 1024 occurrences makes the position list grow more than once.
    std::string text;
    for (int i = 0; i < 5000; ++i)
        text += "x/ ";
    EXPECT_EQ(ReplaceAll(text, "/ ", "/"), 5000);
    EXPECT_EQ(text.size(), 10000u);
    EXPECT_EQ(text.substr(0, 6), "x/x/x/");
}

}  // namespace
}  // namespace skelmar
