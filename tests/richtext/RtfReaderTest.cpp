#include "richtext/RtfReader.h"
#include "richtext/RtfControls.h"

#include <algorithm>
#include <fstream>
#include <iterator>
#include <sstream>
#include <string>

#include <gtest/gtest.h>

namespace skelmar {
namespace {

// One line a paragraph, each run as "<attributes>text"; the attributes name only what
// differs from the plain 12 pt text in the view's default font: b, i, u, the size, the family.
std::string Describe(const RichDocument& document)
{
    std::ostringstream out;
    for (std::size_t p = 0; p < document.paragraphs.size(); ++p) {
        if (p > 0)
            out << '\n';
        for (const RichRun& run : document.paragraphs[p].runs) {
            const CharFormat& f = run.format;
            std::string attributes;
            const auto add = [&](const std::string& a) {
                attributes += (attributes.empty() ? "" : ",") + a;
            };
            if (f.bold)
                add("b");
            if (f.italic)
                add("i");
            if (f.underline)
                add("u");
            if (f.pointSize != 12.0) {
                std::ostringstream size;
                size << f.pointSize << "pt";
                add(size.str());
            }
            if (!f.family.empty())
                add(f.family);
            out << '<' << attributes << '>' << run.text;
        }
    }
    return out.str();
}

std::string DescribeRtf(std::string_view rtf) { return Describe(ReadRtf(rtf)); }

struct Expectation {
    int line;
    std::string rtf;
    std::string_view document;  // as Describe() gives it
};

template <std::size_t N>
void ExpectDocuments(const Expectation (&expectations)[N])
{
    for (const Expectation& e : expectations) {
        SCOPED_TRACE(e.line);
        EXPECT_EQ(DescribeRtf(e.rtf), e.document);
    }
}

// The report's fixed opening, as the composer writes it.
const std::string kPrologue =
    "{\\rtf1\\ansi\\ansicpg1252\\deff0\\deflang1033\\widowctrl{\\fonttbl{\\f0\\fswiss\\fcharset0 "
    "Arial;}{\\f1\\froman\\fprq2\\fcharset0 Times New Roman;}}\\viewkind4\\uc1\\tx360\\tx720"
    "\\tx1080\\tx1440\\tx2160\\tx2880\\pard\\f1 ";

const std::string kReport =
    kPrologue +
    "\\b \\fs26 \\i Forecast for Boston (BOS), at 1800 EST Thu 16 Jan 2025\\i0 \\fs22 \\b0 \\f0 "
    "\\par Temperature 41\xB0 F. Dew point 30\xB0 F. \\par \\par Between 1200 and 1800 EST:}";

TEST(ReadRtf, ReportDocument)
{
    const RichDocument document = ReadRtf(kReport);
    ASSERT_EQ(document.paragraphs.size(), 4u);

    const CharFormat heading{"Times New Roman", 13.0, true, true, false};
    const CharFormat body{"Arial", 11.0, false, false, false};
    ASSERT_EQ(document.paragraphs[0].runs.size(), 1u);
    EXPECT_EQ(document.paragraphs[0].runs[0].format, heading);
    EXPECT_EQ(document.paragraphs[0].runs[0].text,
              "Forecast for Boston (BOS), at 1800 EST Thu 16 Jan 2025");
    ASSERT_EQ(document.paragraphs[1].runs.size(), 1u);
    EXPECT_EQ(document.paragraphs[1].runs[0].format, body);
    EXPECT_EQ(document.paragraphs[1].runs[0].text,
              "Temperature 41\xC2\xB0 F. Dew point 30\xC2\xB0 F. ");
    EXPECT_TRUE(document.paragraphs[2].runs.empty());  // the blank line of "\par \par "
    ASSERT_EQ(document.paragraphs[3].runs.size(), 1u);
    EXPECT_EQ(document.paragraphs[3].runs[0].format, body);
    EXPECT_EQ(document.paragraphs[3].runs[0].text, "Between 1200 and 1800 EST:");

    EXPECT_EQ(PlainText(document),
              "Forecast for Boston (BOS), at 1800 EST Thu 16 Jan 2025\n"
              "Temperature 41\xC2\xB0 F. Dew point 30\xC2\xB0 F. \n"
              "\n"
              "Between 1200 and 1800 EST:\n");
}

TEST(ReadRtf, ReportAsLoadedIntoTheView)
{
    // The view gets the document followed by CR LF; a heading-only report ends with "\par }".
    EXPECT_EQ(Describe(ReadRtf(kReport + "\r\n")), Describe(ReadRtf(kReport)));
    EXPECT_EQ(DescribeRtf(kPrologue + "\\b \\fs26 \\i Forecast for \\i0 \\fs22 \\b0 \\f0 \\par }\r\n"),
              "<b,i,13pt,Times New Roman>Forecast for ");
}

TEST(ReadRtf, ControlWords)
{
    const Expectation kExpect[] = {
        // Paragraphs and breaks inside them.
        {__LINE__, R"({\rtf1 one\par two})", "<>one\n<>two"},
        {__LINE__, R"({\rtf1 one\par})", "<>one"},  // no empty paragraph trails
        {__LINE__, R"({\rtf1 one\par\par two})", "<>one\n\n<>two"},
        {__LINE__, R"({\rtf1 \par one})", "\n<>one"},
        {__LINE__, "{\\rtf1 one\\\r\ntwo}", "<>one\n<>two"},  // backslash before a line end
        {__LINE__, R"({\rtf1 one\line two\tab three})", "<>one\xE2\x80\xA8two\tthree"},
        {__LINE__, "{\\rtf1 one\ttwo}", "<>one\ttwo"},
        {__LINE__, "{\\rtf1 on\r\ne\n tw\ro}", "<>one two"},  // source line ends are no text
        // Character format and its scope.
        {__LINE__, R"({\rtf1 a\b b\b0 c\i d\i0 e\ul f\ul0 g\ul h\ulnone i})",
         "<>a<b>b<>c<i>d<>e<u>f<>g<u>h<>i"},
        {__LINE__, R"({\rtf1 \b1 a\b2 b\i5 c})", "<b>ab<b,i>c"},
        {__LINE__, R"({\rtf1 \uldb a\ulw b\ulwave c\uldash d\ulnone e})", "<u>abcd<>e"},
        {__LINE__, R"({\rtf1 a{\b b{\i c}d}e})", "<>a<b>b<b,i>c<b>d<>e"},
        {__LINE__, R"({\rtf1 \b a{}b})", "<b>ab"},  // an empty group splits nothing
        {__LINE__, R"({\rtf1 \b a\pard b\par c})", "<b>ab\n<b>c"},  // paragraph resets keep it
        {__LINE__, R"({\rtf1 \fs26 a\fs21 b\fs c\fs0 d\fs-4 e\fs99999 f})",
         "<13pt>a<10.5pt>b<>cde<1638pt>f"},
        // Fonts.
        {__LINE__, R"({\rtf1{\fonttbl{\f0 Arial;}{\f1 Times New Roman;}}\f1 a\f0 b\f7 c})",
         "<Times New Roman>a<Arial>b<>c"},
        {__LINE__, R"({\rtf1\deff1{\fonttbl{\f0 Arial;}{\f1 Courier New;}} a{\f0 b}c})",
         "<Courier New> a<Arial>b<Courier New>c"},
        {__LINE__, R"({\rtf1\deff0{\fonttbl{\f0 Arial;}} a\f0 b})", "<Arial> ab"},
        {__LINE__, R"({\rtf1{\fonttbl\f0\fswiss Arial;\f1\froman  Times ;}\f1 a\f0 b})",
         "<Times>a<Arial>b"},
        {__LINE__, R"({\rtf1{\fonttbl{\f0\fnil Caf\'e9\u8364?;}}\f0 a})",
         "<Caf\xC3\xA9\xE2\x82\xAC>a"},
        {__LINE__,
         R"({\rtf1{\fonttbl{\f0\froman{\*\panose 02020603050405020304}Times{\*\falt Tms};}}\f0 a})",
         "<Times>a"},
        {__LINE__, R"({\rtf1{\fonttbl{\f0 Arial}}\f0 a})", "<Arial>a"},  // ";" missing
        {__LINE__, R"({\rtf1\deff0{\fonttbl{\f0 Arial;}{\f2 Symbol;}}\f2\fs30\b\i\ul a\plain b})",
         "<b,i,u,15pt,Symbol>a<Arial>b"},
        {__LINE__, R"({\rtf1{\fonttbl{\f0 Arial;}}\f0 a\par\pard\plain b})", "<Arial>a\n<>b"},
        // Characters.
        {__LINE__, "{\\rtf1 41\\'b0F 41\\'B0F 41\xB0" "F \\'80\x80}",
         "<>41\xC2\xB0" "F 41\xC2\xB0" "F 41\xC2\xB0" "F \xE2\x82\xAC\xE2\x82\xAC"},
        {__LINE__, R"({\rtf1 \\ \{ \}})", "<>\\ { }"},
        {__LINE__, R"({\rtf1 a\~b\-c\_d})", "<>a\xC2\xA0" "b\xC2\xAD" "c\xE2\x80\x91" "d"},
        {__LINE__, R"({\rtf1 a\emdash b\endash c\lquote d\rquote\ldblquote e\rdblquote\bullet})",
         "<>a\xE2\x80\x94" "b\xE2\x80\x93" "c\xE2\x80\x98" "d\xE2\x80\x99\xE2\x80\x9C"
         "e\xE2\x80\x9D\xE2\x80\xA2"},
        {__LINE__, R"({\rtf1 a\|b\:c})", "<>abc"},  // control symbols we do not model
        // Unicode characters and their fallbacks.
        {__LINE__, R"({\rtf1 \u8364?x})", "<>\xE2\x82\xACx"},
        {__LINE__, R"({\rtf1 \u-25896?x})", "<>\xE9\xAB\x98x"},  // negative: plus 65536
        {__LINE__, R"({\rtf1 \u8364\'80x})", "<>\xE2\x82\xACx"},  // \'hh is one fallback
        {__LINE__, R"({\rtf1 \uc0\u8364 x})", "<>\xE2\x82\xACx"},
        {__LINE__, R"({\rtf1 \uc2\u8364 abc\u8364\'80\'80d})", "<>\xE2\x82\xAC" "c\xE2\x82\xAC" "d"},
        {__LINE__, R"({\rtf1 \uc2\u8364\b xyz})", "<>\xE2\x82\xACyz"},  // a control counts too
        {__LINE__, R"({\rtf1 {\uc2 \u8364 ab}\u8364 ab})", "<>\xE2\x82\xAC\xE2\x82\xAC" "b"},
        {__LINE__, R"({\rtf1 \uc3\u8364{x}y})", "<>\xE2\x82\xACxy"},  // a brace ends the fallback
        {__LINE__, R"({\rtf1 \u-10179?\u-8704?x})", "<>\xF0\x9F\x98\x80x"},  // surrogate pair
        {__LINE__, R"({\rtf1 \u-10179?x\u-8704?y})", "<>\xEF\xBF\xBDx\xEF\xBF\xBDy"},
        {__LINE__, R"({\rtf1 a\u-10179?\par b})", "<>a\xEF\xBF\xBD\n<>b"},
        // Destinations that show nothing.
        {__LINE__, R"({\rtf1 a{\*\foo b{c}\par d}e})", "<>ae"},
        {__LINE__, R"({\rtf1 a{\info{\title T}{\author A}}b})", "<>ab"},
        {__LINE__, R"({\rtf1 a{\pict\wmetafile8\picw10 0102abcd}b})", "<>ab"},
        {__LINE__, R"({\rtf1 a{\pict\bin4 }}}}b}c})", "<>ac"},  // binary data may hold braces
        {__LINE__, R"({\rtf1 a\bin3 {\bb})", "<>ab"},
        {__LINE__, R"({\rtf1 a{\object\objemb{\*\objdata 01}{\result r}}b})", "<>ab"},
        {__LINE__, R"({\rtf1 a{\colortbl;\red0\green0\blue0;}{\stylesheet{\s0 Normal;}}b})",
         "<>ab"},
        {__LINE__, R"({\rtf1 {\field{\*\fldinst HYPERLINK "http://x/"}{\fldrslt shown}}})",
         "<>shown"},
        {__LINE__, R"({\rtf1 {\field{\fldinst PAGE}{\fldrslt \b 1}} of 2})", "<b>1<> of 2"},
        {__LINE__, R"({\rtf1 a{\*\foo \{ \} \\ {b}}c})", "<>ac"},  // escapes do not count
        {__LINE__, R"({\rtf1 a{\header h}{\footer f}{\footnote n}b})", "<>ab"},
        {__LINE__, R"({\rtf1 a{\foo b}c})", "<>abc"},  // unknown without \* is shown
    };
    ExpectDocuments(kExpect);
}

TEST(ReadRtf, ControlsFixture)
{
    // The fuzzer's seed with many control words, CR LF line ends and skipped destinations.
    std::ifstream in(std::string(SKELMAR_FIXTURES) + "/rtf/controls.rtf", std::ios::binary);
    ASSERT_TRUE(in);
    const std::string rtf((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    EXPECT_EQ(DescribeRtf(rtf),
              "<Times New Roman>Plain <b,Times New Roman>bold <b,i,Times New Roman>bold italic"
              "<Times New Roman> <u,Times New Roman>under<Times New Roman>line "
              "<u,Times New Roman>double\n"
              "<10.5pt,Arial>Small\xE2\x80\xA8second line\ttabbed\xC2\xA0nbsp soft\xC2\xADhyphen "
              "non\xE2\x80\x91" "breaking {braces} back\\slash\n"
              "<10.5pt,Arial>41\xC2\xB0 F \xE2\x82\xAC \xE2\x82\xAC \xF0\x9F\x98\x80 \xE2\x82\xAC "
              "\xC2\xB0\xE2\x80\x94\xE2\x80\x93\xE2\x80\x98x\xE2\x80\x99\xE2\x80\x9Cy\xE2\x80\x9D"
              "\xE2\x80\xA2\n"
              "<10.5pt,Arial>link   \n"
              "<15pt,Caf\xC3\xA9>reset <b>unknown font");
}

TEST(PlainText, OneParagraphALine)
{
    EXPECT_EQ(PlainText(ReadRtf(R"({\rtf1 {\b a}\tab b\line c\-d\par\par e\~f})")),
              "a\tb\ncd\n\ne\xC2\xA0" "f\n");
    EXPECT_EQ(PlainText(ReadRtf("")), "");
    EXPECT_EQ(PlainText(ReadRtf(R"({\rtf1 \par})")), "\n");
}

TEST(HtmlText, ParagraphsRunsAndEscapes)
{
    const std::string html = HtmlText(ReadRtf(
        R"({\rtf1{\fonttbl{\f0 Arial;}{\f1 O'Brien\\Sans;}}\f0\fs26{\b\i Heading <1> & "2"}\par )"
        R"(\fs21 a\tab b\line {\ul c}\par\par {\f1 d}\'b0})"));
    EXPECT_EQ(html,
              "<!DOCTYPE html>\n<html>\n<head>\n<meta charset=\"utf-8\">\n"
              "<title>Heading &lt;1&gt; &amp; &quot;2&quot;</title>\n"
              "<style>p { margin: 0; white-space: pre-wrap; }</style>\n</head>\n<body>\n"
              "<p><span style=\"font-family: 'Arial'; font-size: 13pt; font-weight: bold; font-style: italic\">"
              "Heading &lt;1&gt; &amp; &quot;2&quot;</span></p>\n"
              "<p><span style=\"font-family: 'Arial'; font-size: 10.5pt\">a\tb<br></span>"
              "<span style=\"font-family: 'Arial'; font-size: 10.5pt; text-decoration: underline\">c</span></p>\n"
              "<p><br></p>\n"
              "<p><span style=\"font-family: 'O\\27 Brien\\5c Sans'; font-size: 10.5pt\">d</span>"
              "<span style=\"font-family: 'Arial'; font-size: 10.5pt\">\xC2\xB0</span></p>\n"
              "</body>\n</html>\n");

    EXPECT_EQ(HtmlText(ReadRtf("")),
              "<!DOCTYPE html>\n<html>\n<head>\n<meta charset=\"utf-8\">\n<title></title>\n"
              "<style>p { margin: 0; white-space: pre-wrap; }</style>\n</head>\n<body>\n</body>\n</html>\n");
}

TEST(HtmlText, ControlCharactersAsReplacementReferences)
{
    // A raw C1 byte (0x9D, undefined in the code page), escaped C0 controls and DEL: none
    // reaches the page raw; tab stays.
    const std::string html = HtmlText(ReadRtf("{\\rtf1 a\x9D b\\'1bc\\'7f\\u128?\\tab d}"));
    const std::string body = html.substr(html.find("<body>"));
    EXPECT_NE(body.find(">a&#xFFFD; b&#xFFFD;c&#xFFFD;&#xFFFD;\td</span>"), std::string::npos) << body;
    EXPECT_NE(html.find("<title>a&#xFFFD; b&#xFFFD;c&#xFFFD;&#xFFFD;\td</title>"), std::string::npos) << html;
    // In a font's name, as CSS hex escapes.
    const std::string font = HtmlText(ReadRtf("{\\rtf1{\\fonttbl{\\f0 A\x9D\\'1bB;}}\\f0 x}"));
    EXPECT_NE(font.find("font-family: 'A\\9d \\1b B'"), std::string::npos) << font;
}

TEST(EscapeRtfControls, NoRawControlByteAndTheSameText)
{
    struct Expectation {
        int line;
        std::string in;
        std::string out;
    };
    const Expectation kExpect[] = {
        {__LINE__, "{\\rtf1 31\x9D\xB0 F\\par}", "{\\rtf1 31\\'9d\xB0 F\\par}"},  // C1: the hex escape
        {__LINE__, "{\\rtf1 a\x1B[2Jb\x7F}", "{\\rtf1 a[2Jb\\'7f}"},                // ESC dropped, DEL escaped
        {__LINE__, "{\\rtf1\r\n a\tb\\\\\\'9d}", "{\\rtf1\r\n a\tb\\\\\\'9d}"},  // kept as they are
        {__LINE__, "{\\rtf1 a\\\x1B b\\\x9D c}", "{\\rtf1 a b c}"},  // control symbols of control bytes
        {__LINE__, "\x81\x8D\x8F\x90", "\\'81\\'8d\\'8f\\'90"},
    };
    for (const Expectation& e : kExpect) {
        SCOPED_TRACE(e.line);
        const std::string escaped = EscapeRtfControls(e.in);
        EXPECT_EQ(escaped, e.out);
        // The reader takes the same text from both.
        EXPECT_EQ(PlainText(ReadRtf(escaped)), PlainText(ReadRtf(e.in)));
    }
}

TEST(ReadRtf, ErrorCases)
{
    const Expectation kExpect[] = {
        {__LINE__, "", ""},
        {__LINE__, "plain words", "<>plain words"},
        {__LINE__, R"({\rtf1 a{\b b)", "<>a<b>b"},  // groups never closed
        {__LINE__, R"({\rtf1 a}}} b})", "<>a b"},  // stray closing braces
        {__LINE__, R"(}}{\b a}}b)", "<b>a<>b"},
        {__LINE__, R"({\rtf1 a\pa)", "<>a"},  // control word cut off at the end
        {__LINE__, R"({\rtf1 a\)", "<>a"},
        {__LINE__, R"({\rtf1 a\')", "<>a"},
        {__LINE__, R"({\rtf1 a\'4)", "<>a4"},
        {__LINE__, R"({\rtf1 a\'zz})", "<>azz"},
        {__LINE__, R"({\rtf1 a\'4g})", "<>a4g"},
        {__LINE__, R"({\rtf1 \u99999999999999999999?x})", "<>\xEF\xBF\xBDx"},
        {__LINE__, R"({\rtf1 \u-99999999999999999999?x})", "<>\xEF\xBF\xBDx"},
        {__LINE__, R"({\rtf1 \u70000?x\u})", "<>\xEF\xBF\xBDx"},
        {__LINE__, R"({\rtf1 \uc99999999999999999\u8364 abc})", "<>\xE2\x82\xAC"},
        {__LINE__, R"({\rtf1 \f99999999999999999 a\f-1 b})", "<>ab"},
        {__LINE__, R"({\rtf1 a\bin99999999999999 b})", "<>a"},
        {__LINE__, R"({\rtf1 a\bin-5 b})", "<>ab"},
        {__LINE__, R"({\rtf1 \fs- a})", "<>- a"},
        {__LINE__, std::string("{\\rtf1 a\0b\x01" "c}", 13), "<>abc"},
        {__LINE__, "{\\rtf1 \\" + std::string(100000, 'b') + " a}", "<>a"},  // too long a word
        {__LINE__, R"({\rtf1 a{\*\foo b)", "<>a"},
        {__LINE__, R"({\rtf1{\fonttbl{\f0 Arial;}{\f1 Ti\par mes;}}\f1 a})", "<Times>a"},
    };
    ExpectDocuments(kExpect);
}

TEST(ReadRtf, EdgeCasesDeepNesting)
{
    const std::string open(10000, '{');
    const std::string close(10000, '}');
    EXPECT_EQ(DescribeRtf(open + R"(\b deep)" + close + " after"), "<b>deep<> after");
    EXPECT_EQ(DescribeRtf(open + "unclosed"), "<>unclosed");
    EXPECT_EQ(DescribeRtf(close + "unopened"), "<>unopened");
    // Formatting stays scoped below the depth limit, and a skipped group that starts beyond
    // it ends where it should.
    const std::string atLimit(kMaxGroupDepth - 1, '{');
    EXPECT_EQ(DescribeRtf(atLimit + R"(\i a{\b b}c)" + std::string(kMaxGroupDepth - 1, '}') + "d"),
              "<i>a<b,i>b<i>c<>d");
    EXPECT_EQ(DescribeRtf(open + R"(a{\*\foo b}c)" + close + "d"), "<>acd");
}

TEST(ReadRtf, EdgeCasesLargeInput)
{
    constexpr std::size_t kSize = 10 * 1024 * 1024;

    const std::string_view sentence = "Temperature 41\xB0 F. ";
    std::string text = R"({\rtf1 )";
    std::size_t sentences = 0;
    for (; text.size() < kSize; ++sentences)
        text += sentence;
    const RichDocument words = ReadRtf(text + "}");
    ASSERT_EQ(words.paragraphs.size(), 1u);
    ASSERT_EQ(words.paragraphs[0].runs.size(), 1u);
    EXPECT_EQ(words.paragraphs[0].runs[0].text.size(), sentences * (sentence.size() + 1));

    // Paragraph and run counts stay bounded, and no text is lost on the way. A megabyte
    // passes both limits well.
    std::string paragraphs;
    std::string runs;
    while (paragraphs.size() < kSize / 10) {
        paragraphs += R"(x\par )";
        runs += R"({\b x}{\i x})";
    }
    const RichDocument manyParagraphs = ReadRtf(paragraphs);
    EXPECT_EQ(manyParagraphs.paragraphs.size(), kMaxParagraphs);
    const std::string plain = PlainText(manyParagraphs);
    EXPECT_EQ(static_cast<std::size_t>(std::count(plain.begin(), plain.end(), 'x')), paragraphs.size() / 6);
    // Each \par ends a paragraph or a line, and the last paragraph ends its line.
    EXPECT_EQ(static_cast<std::size_t>(std::count(plain.begin(), plain.end(), '\n')), paragraphs.size() / 6 + 1);

    const RichDocument manyRuns = ReadRtf(runs);
    ASSERT_EQ(manyRuns.paragraphs.size(), 1u);
    EXPECT_EQ(manyRuns.paragraphs[0].runs.size(), kMaxRuns);
    EXPECT_EQ(PlainText(manyRuns), std::string(runs.size() / 6, 'x') + "\n");

    EXPECT_EQ(DescribeRtf(std::string(kSize, '{') + "x"), "<>x");
    EXPECT_EQ(DescribeRtf(std::string(kSize, '}') + "x"), "<>x");
    std::string controls;
    while (controls.size() < kSize)
        controls += R"(\b\u8364\'80\fs30 )";
    EXPECT_EQ(PlainText(ReadRtf(controls)).size(), controls.size() / 18 * 3 + 1);
}

}  // namespace
}  // namespace skelmar
