#include "retrieval/BulletinText.h"

#include <gtest/gtest.h>

namespace skelmar {
namespace {

using namespace std::string_view_literals;

TEST(SplitBulletinText, LineBreaks)
{
    struct Expectation {
        int line;
        std::string_view body;
        BulletinLines lines;
    };
    const Expectation kExpect[] = {
        {__LINE__, "", {}},
        {__LINE__, "one", {"one"}},
        {__LINE__, "a\r\nb\r\nc", {"a", "b", "c"}},
        {__LINE__, "a\nb\nc", {"a", "b", "c"}},
        {__LINE__, "a\rb\rc", {"a", "b", "c"}},
        {__LINE__, "a\r\nb\nc\rd", {"a", "b", "c", "d"}},
        {__LINE__, "a\r\nb\r\n", {"a", "b"}},           // a final break adds no empty line
        {__LINE__, "a\nb\n", {"a", "b"}},
        {__LINE__, "a\rb\r", {"a", "b"}},
        {__LINE__, "a\r\n\r\n", {"a", ""}},             // but an empty line before it stays
        {__LINE__, "\n", {""}},
        {__LINE__, "\r\n\r\nx", {"", "", "x"}},
        {__LINE__, "a\n\rb", {"a", "", "b"}},           // LF CR is two breaks
        {__LINE__, "a\r\r\nb", {"a", "", "b"}},
        {__LINE__, " a \t\r\n", {" a \t"}},             // blanks and tabs belong to the line
        {__LINE__, "a\nb\0c\nd"sv, {"a", "b"}},         // a NUL byte ends the text
        {__LINE__, "a\r\0\nb"sv, {"a"}},
        {__LINE__, "\0abc"sv, {}},
        {__LINE__, "\xE9t\xE9\x80\xFF\r\n", {"\xE9t\xE9\x80\xFF"}},  // 8-bit bytes as they are
    };
    for (const Expectation& e : kExpect) {
        SCOPED_TRACE(e.line);
        EXPECT_EQ(SplitBulletinText(e.body), e.lines);
    }
}

TEST(ExtractTaggedSection, Pages)
{
    struct Expectation {
        int line;
        BulletinLines page;
        std::string_view tag;
        BulletinLines lines;
    };
    const Expectation kExpect[] = {
        {__LINE__, {"header", "<PRE>", "A", "B", "</PRE>", "footer"}, "PRE", {"A", "B"}},
        {__LINE__, {"header", "  <PRE> ", "A", "B", " </PRE>  ", "footer"}, "PRE", {"A", "B"}},
        {__LINE__, {"<PRE>", "A", "</PRE>"}, "PRE", {"A"}},
        {__LINE__, {"<PRE>", "</PRE>", "x"}, "PRE", {}},
        // Case counts, tabs are not trimmed, and a tag sharing its line is not recognised.
        {__LINE__, {"header", "<pre>", "A", "</PRE>", "footer"}, "PRE", {}},
        {__LINE__, {"header", "\t<PRE>", "A", "</PRE>", "footer"}, "PRE", {}},
        {__LINE__, {"header", "<PRE>A", "B", "</PRE>", "footer"}, "PRE", {}},
        {__LINE__, {"<PRE>", "A", "</PRE> B", "C", "</PRE>", "x"}, "PRE", {"A", "</PRE> B", "C"}},
        // No closing tag line before the last line: only the last line goes.
        {__LINE__, {"header", "<PRE>", "A", "B", "footer"}, "PRE", {"A", "B"}},
        {__LINE__, {"header", "<PRE>", "A", "B", "</PRE>"}, "PRE", {"A", "B"}},
        {__LINE__, {"<PRE>", "A"}, "PRE", {}},
        // Only the first tagged section remains.
        {__LINE__, {"<PRE>", "A", "</PRE>", "<PRE>", "B", "</PRE>", "end"}, "PRE", {"A"}},
        {__LINE__, {"<PRE>", "<PRE>", "A", "</PRE>"}, "PRE", {"<PRE>", "A"}},
        // An opening tag on the last line only counts as "none found".
        {__LINE__, {"header", "body", "<PRE>"}, "PRE", {}},
        {__LINE__, {"<PRE>"}, "PRE", {}},
        {__LINE__, {"only line"}, "PRE", {}},
        {__LINE__, {}, "PRE", {}},
        {__LINE__, {"No Report"}, "PRE", {}},  // what a failed download leaves
        // The closing tag of another name does not end the section.
        {__LINE__, {"<PRE>", "A", "</P>", "B", "</PRE>"}, "PRE", {"A", "</P>", "B"}},
        {__LINE__, {"x", "<>", "A", "</>", "y"}, "", {"A"}},
    };
    for (const Expectation& e : kExpect) {
        SCOPED_TRACE(e.line);
        BulletinLines lines = e.page;
        ExtractTaggedSection(lines, e.tag);
        EXPECT_EQ(lines, e.lines);
    }
}

TEST(ExtractTaggedSection, PageFromBody)
{
    BulletinLines lines = SplitBulletinText(
        "<html><body>\r\n<PRE>\r\n KBOS   NGM MOS GUIDANCE  12/09/2005  1200 UTC\r\n"
        "HR   18 21 00\n</PRE>\n</body></html>\n");
    ExtractTaggedSection(lines, "PRE");
    EXPECT_EQ(lines, (BulletinLines{" KBOS   NGM MOS GUIDANCE  12/09/2005  1200 UTC", "HR   18 21 00"}));
}

}  // namespace
}  // namespace skelmar
