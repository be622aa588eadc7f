#include "retrieval/RetrievalSequence.h"

#include <filesystem>
#include <fstream>
#include <map>
#include <variant>

#include <gtest/gtest.h>

#include "retrieval/HttpClient.h"
#include "retrieval/PictureFile.h"
#include "tests/support/BulletinFixture.h"
#include "tests/support/MemoryConfigTexts.h"
#include "tests/support/ScopedResources.h"
#include "text/Error.h"
#include "time/Calendar.h"

namespace skelmar {
namespace {

constexpr std::string_view kGif = "GIF89a\x01\x00\x01\x00\x00\x00\x00;";

// Answers from a table of addresses: a body, or a failure with its message.
class FakeHttp final : public HttpClient {
public:
    std::string Get(const std::string& url) override
    {
        requested.push_back(url);
        const auto found = answers.find(url);
        if (found == answers.end())
            throw Error("HTTP/1.1 404 Not Found");
        if (const auto* failure = std::get_if<Failure>(&found->second))
            throw Error(failure->message);
        return std::get<std::string>(found->second);
    }
    struct Failure {
        std::string message;
    };
    std::map<std::string, std::variant<std::string, Failure>> answers;
    std::vector<std::string> requested;
};

// Keeps everything the sequence asks of the window, in order.
class RecordingHost final : public RetrievalHost {
public:
    void Warning(const std::string& text) override { events.push_back("warning: " + text); }
    void Error(const std::string& text) override { events.push_back("error: " + text); }
    void SetWaitCursor(bool wait) override { events.push_back(wait ? "cursor: wait" : "cursor: arrow"); }
    void ShowPicture(const std::filesystem::path& file) override
    {
        std::ifstream in(file, std::ios::binary);
        std::string head(6, '\0');
        in.read(head.data(), 6);
        if (head != "GIF87a" && head != "GIF89a")
            throw skelmar::Error("Invalid GIF signature");
        events.push_back("picture");
    }
    void EnableTrackBar() override { events.push_back("track bar"); }
    void SetForecastCaption(const std::string& caption) override { events.push_back("caption: " + caption); }
    void UpdateTimeLabels() override { events.push_back("labels"); }
    std::vector<std::string> events;
};

const std::string kRefused(kConnectionRefusedMessage);
const std::string kText = "http://text.test/K";
const std::string kGraph = "http://graph.test/";

std::string Header(std::string_view words)
{
    return std::string(" ") + std::string(words);
}

std::string Page(std::string_view header)
{
    return "<html><body><pre>\n<PRE>\n" + std::string(header) +
           "\n HOUR 18 21 00\nMX/MN          34\nTEMP   31 30 29\n</PRE>\n</body></html>\n";
}

class RetrievalSequenceTest : public ::testing::Test {
protected:
    RetrievalSequenceTest()
        : context{state, config, http, host, clock, folder.Path() / "Temp.gif", ':'}
    {
        config.Set("INTERNET", "C_ZOZI14_TEXTSERVER", "http://text.test/K");
        config.Set("INTERNET", "C_FOUS_TEXT_EXT", "");
        config.Set("INTERNET", "C_ZOZI14_GRAPHSERVER", "http://graph.test/");
        config.Set("INTERNET", "C_FOUS_GRAPH_EXT", ".gif");
        config.Set("INTERNET", "C_FOUS_TEXT_HTML", "PRE");
        state.forecastBaseTime = 1234.5;  // what an earlier retrieval left
    }

    void ServeBoston(std::string_view header = "BOS   EC NGM MOS GUIDANCE   12/9/26  1200 UTC")
    {
        http.answers[kGraph + "BOS.gif"] = std::string(kGif);
        http.answers[kText + "BOS"] = Page(Header(header));
    }

    test::TemporaryFolder folder;
    ForecastState state;
    MemoryConfigTexts config;
    FakeHttp http;
    RecordingHost host;
    FixedClock clock{EncodeDate(2026, 12, 9)};
    RetrievalContext context;
};

TEST_F(RetrievalSequenceTest, GoodBulletinIsValidatedAndNormalised)
{
    ServeBoston();
    EXPECT_TRUE(RetrieveBulletin(context, "BOS"));
    EXPECT_EQ(host.events, (std::vector<std::string>{"cursor: wait", "picture", "track bar", "cursor: arrow",
                                                     "caption: No forecast obtained", "labels"}));
    EXPECT_EQ(state.forecastBaseTime, EncodeDate(2026, 12, 9) + 0.5);
    EXPECT_EQ(state.bulletinLines, (BulletinLines{"MX/MN 34", "TEMP 31 30 29 "}));
    EXPECT_EQ(http.requested, (std::vector<std::string>{kGraph + "BOS.gif", kText + "BOS"}));
    std::ifstream picture(folder.Path() / "Temp.gif", std::ios::binary);
    EXPECT_EQ(std::string(std::istreambuf_iterator<char>(picture), {}), kGif);
}

TEST_F(RetrievalSequenceTest, NoPictureServerDownloadsNoPicture)
{
    ServeBoston();
    config.Set("INTERNET", "C_ZOZI14_GRAPHSERVER", "");
    EXPECT_TRUE(RetrieveBulletin(context, "BOS"));
    EXPECT_EQ(host.events, (std::vector<std::string>{"cursor: wait", "track bar", "cursor: arrow",
                                                     "caption: No forecast obtained", "labels"}));
    EXPECT_EQ(http.requested, std::vector<std::string>{kText + "BOS"});
    EXPECT_FALSE(std::filesystem::exists(folder.Path() / "Temp.gif"));
    EXPECT_EQ(state.bulletinLines, (BulletinLines{"MX/MN 34", "TEMP 31 30 29 "}));

    // A failed text download leaves what it always leaves, with its one message.
    http.answers.erase(kText + "BOS");
    host.events.clear();
    EXPECT_FALSE(RetrieveBulletin(context, "BOS"));
    EXPECT_EQ(host.events, (std::vector<std::string>{"cursor: wait", "cursor: arrow", "error: " + std::string(kTextNotFound),
                                                     "cursor: arrow", "caption: No forecast obtained",
                                                     "error: " + std::string(kCorruptedText)}));
    EXPECT_TRUE(state.bulletinLines.empty());
    EXPECT_EQ(state.forecastBaseTime, EncodeDate(2026, 12, 9) + 0.5);
}

TEST_F(RetrievalSequenceTest, RefusedConnectionWarnsTwiceThenCallsTheTextCorrupted)
{
    http.answers[kGraph + "BOS.gif"] = FakeHttp::Failure{kRefused};
    http.answers[kText + "BOS"] = FakeHttp::Failure{kRefused};
    EXPECT_FALSE(RetrieveBulletin(context, "BOS"));
    const std::string warning(kConnectWarning);
    EXPECT_EQ(host.events, (std::vector<std::string>{"cursor: wait", "cursor: arrow", "warning: " + warning,
                                                     "cursor: arrow", "warning: " + warning, "cursor: arrow",
                                                     "caption: No forecast obtained",
                                                     "error: " + std::string(kCorruptedText)}));
    EXPECT_TRUE(state.bulletinLines.empty());  // "No Report" went with the tag extraction
    EXPECT_EQ(state.forecastBaseTime, 1234.5);

    config.Set("INTERNET", "C_FOUS_TEXT_HTML", "");
    EXPECT_FALSE(RetrieveBulletin(context, "BOS"));
    EXPECT_EQ(state.bulletinLines, BulletinLines{"No Report"});
}

TEST_F(RetrievalSequenceTest, FailedDownloadsAreNotFoundErrors)
{
    http.answers[kGraph + "BOS.gif"] = FakeHttp::Failure{"Host not found: graph.test"};
    http.answers[kText + "BOS"] = FakeHttp::Failure{"Connection timed out (after 20000 ms)"};
    EXPECT_FALSE(RetrieveBulletin(context, "BOS"));
    ASSERT_EQ(host.events.size(), 8u);
    EXPECT_EQ(host.events[2], "error: " + std::string(kGraphicNotFound));
    EXPECT_EQ(host.events[4], "error: " + std::string(kTextNotFound));
    EXPECT_EQ(host.events[7], "error: " + std::string(kCorruptedText));
}

TEST_F(RetrievalSequenceTest, HeaderChecks)
{
    struct Expectation {
        int line;
        std::string header;  // after the first character
        bool accepted;
        std::vector<std::string> messages;
        TDateTime baseTime;
    };
    const std::string corrupted = "error: " + std::string(kCorruptedText);
    const std::string dateError = "error: " + std::string(kDateMismatch);
    const TDateTime dec9 = EncodeDate(2026, 12, 9);
    const Expectation kExpect[] = {
        {__LINE__, "BOS w2 w3 w4 w5 12/9/26 1200 UTC", true, {}, dec9 + 0.5},
        {__LINE__, "BOS w2 w3 w4 w5 12/10/26 0000", true, {}, dec9 + 1},       // tomorrow
        {__LINE__, "BOS w2 w3 w4 w5 12/8/26 1800", false, {dateError}, dec9 - 1},  // yesterday
        {__LINE__, "BOS w2 w3 w4 w5 12/11/26 0000", false, {dateError}, dec9 + 2},
        {__LINE__, "BOS w2 w3 w4 w5 2/30/26 0000", false, {}, 0},             // no such date: silent
        {__LINE__, "BOS w2 w3 w4 w5 99/99/99 0000", false, {}, 0},
        {__LINE__, "BOS w2 w3 w4 w5 12/9 1200", false, {dateError}, EncodeDate(20, 12, 9)},  // year 20
        {__LINE__, "BOS w2 w3 w4 w5 1/1/99999 1200", false, {dateError}, EncodeDate(2847, 1, 1)},  // 16 bits
        {__LINE__, "bos w2 w3 w4 w5 12/9/26 1200", false, {corrupted}, 1234.5},  // case counts
        {__LINE__, " BOS w2 w3 w4 w5 12/9/26 1200", false, {corrupted}, 1234.5},
        {__LINE__, "DEN w2 w3 w4 w5 12/9/26 1200", false, {corrupted}, 1234.5},
        {__LINE__, "BOS w2 w3 w4 12/9/26 1200", false, {corrupted}, 1234.5},   // six words
        {__LINE__, "BOS", false, {corrupted}, 1234.5},
        {__LINE__, "", false, {corrupted}, 1234.5},
    };
    for (const Expectation& e : kExpect) {
        SCOPED_TRACE(e.line);
        state.forecastBaseTime = 1234.5;
        state.bulletinLines = {" " + e.header, "MX/MN 1"};
        host.events.clear();
        EXPECT_EQ(ValidateBulletin(context, "BOS"), e.accepted);
        std::vector<std::string> expected = {"caption: No forecast obtained"};
        expected.insert(expected.end(), e.messages.begin(), e.messages.end());
        if (e.accepted)
            expected.push_back("labels");
        EXPECT_EQ(host.events, expected);
        EXPECT_EQ(state.forecastBaseTime, e.baseTime);
        // A refused bulletin is left as it was downloaded.
        EXPECT_EQ(state.bulletinLines.size(), e.accepted ? 1u : 2u);
    }
}

TEST_F(RetrievalSequenceTest, ErrorCases)
{
    struct Expectation {
        int line;
        std::string header;
        std::string message;
        TDateTime baseTime;
    };
    const TDateTime dec9 = EncodeDate(2026, 12, 9);
    const Expectation kExpect[] = {
        {__LINE__, "BOS w2 w3 w4 w5 12/x/26 1200", "'x' is not a valid integer value", 1234.5},
        {__LINE__, "BOS w2 w3 w4 w5 x/9/26 1200", "'x' is not a valid integer value", 1234.5},
        {__LINE__, "BOS w2 w3 w4 w5 12/9/2x 1200", "'202x' is not a valid integer value", 1234.5},
        {__LINE__, "BOS w2 w3 w4 w5 /9/26 1200", "'' is not a valid integer value", 1234.5},
        {__LINE__, "BOS w2 w3 w4 w5 12/9/26 12x0", "'12:x0' is not a valid time", dec9},
        {__LINE__, "BOS w2 w3 w4 w5 12/9/26 2400", "'24:00' is not a valid time", dec9},
        {__LINE__, "BOS w2 w3 w4 w5 12/9/26 UTC", "'UT:C' is not a valid time", dec9},
        {__LINE__, "BOS w2 w3 w4 w5 12/9/26 12", "'12:' is not a valid time", dec9},
    };
    for (const Expectation& e : kExpect) {
        SCOPED_TRACE(e.line);
        state.forecastBaseTime = 1234.5;
        state.bulletinLines = {" " + e.header};
        try {
            ValidateBulletin(context, "BOS");
            ADD_FAILURE() << "no error";
        } catch (const Error& error) {
            EXPECT_EQ(error.what(), e.message);
        }
        EXPECT_EQ(state.forecastBaseTime, e.baseTime);
    }
}

TEST_F(RetrievalSequenceTest, IssueTimeUsesTheRegionalSeparator)
{
    context.timeSeparator = '.';
    state.bulletinLines = {" BOS w2 w3 w4 w5 12/9/26 0600"};
    EXPECT_TRUE(ValidateBulletin(context, "BOS"));
    EXPECT_EQ(state.forecastBaseTime, EncodeDate(2026, 12, 9) + 0.25);
    EXPECT_EQ(StrToTime("6.5", '.'), EncodeTime(6, 5, 0, 0));
}

TEST_F(RetrievalSequenceTest, PictureThatIsNotAGifEndsTheRetrieval)
{
    ServeBoston();
    http.answers[kGraph + "BOS.gif"] = std::string("<html>not a picture</html>");
    try {
        RetrieveBulletin(context, "BOS");
        ADD_FAILURE() << "no error";
    } catch (const Error& error) {
        EXPECT_STREQ(error.what(), "Invalid GIF signature");
    }
    EXPECT_EQ(host.events, (std::vector<std::string>{"cursor: wait", "cursor: arrow"}));
    EXPECT_EQ(http.requested.size(), 1u);  // the text is not downloaded
    EXPECT_EQ(state.bulletinLines, BulletinLines{"No Report"});
}

TEST_F(RetrievalSequenceTest, PictureFileThatCannotBeCreated)
{
    ServeBoston();
    // A folder that cannot exist: its parent is a file.
    std::ofstream(folder.Path() / "file") << "x";
    context.picturePath = folder.Path() / "file" / "Temp.gif";
    try {
        RetrieveBulletin(context, "BOS");
        ADD_FAILURE() << "no error";
    } catch (const Error& error) {
        EXPECT_EQ(error.what(), "Cannot create file " + context.picturePath.string());
    }
    EXPECT_EQ(host.events.back(), "cursor: arrow");
}

TEST_F(RetrievalSequenceTest, TagRulesOnTheDownloadedPage)
{
    // The tag twice: only the first section; never closed: all but the page's last line.
    http.answers[kGraph + "BOS.gif"] = std::string(kGif);
    http.answers[kText + "BOS"] = std::string("a\r\n<PRE>\r\nB1\r\n</PRE>\r\n<PRE>\r\nB2\r\n</PRE>\r\n");
    DownloadText(context, "BOS");
    EXPECT_EQ(state.bulletinLines, BulletinLines{"B1"});
    http.answers[kText + "BOS"] = std::string("a\n<PRE>\nB1\nB2\nlast");
    DownloadText(context, "BOS");
    EXPECT_EQ(state.bulletinLines, (BulletinLines{"B1", "B2"}));
    http.answers[kText + "BOS"] = std::string(1000, '\0');
    DownloadText(context, "BOS");
    EXPECT_TRUE(state.bulletinLines.empty());
}

// A four-letter code is a whole identifier: with the *_ICAO keys set its addresses take them
// (the shipped server text ends in the K of the three-letter codes); without them the
// ordinary ones. Its header keeps all four letters, and another station's is refused.
TEST_F(RetrievalSequenceTest, FourLetterCodes)
{
    const std::string header = "PANC   MAV GFS MOS GUIDANCE   12/9/26  1200 UTC";
    struct Expectation {
        int line;
        bool icaoKeys;
        std::string_view served;  // the header of the bulletin at the station's address
        std::vector<std::string> requested;
        bool valid;
    };
    const Expectation kExpect[] = {
        {__LINE__, true, header, {"http://graph.test/icao/PANC.gif", "http://text.test/PANC"}, true},
        {__LINE__, false, header, {"http://graph.test/PANC.gif", "http://text.test/KPANC"}, true},
        {__LINE__, true, "ANC   MAV GFS MOS GUIDANCE   12/9/26  1200 UTC",
         {"http://graph.test/icao/PANC.gif", "http://text.test/PANC"}, false},
        {__LINE__, true, "PANX   MAV GFS MOS GUIDANCE   12/9/26  1200 UTC",
         {"http://graph.test/icao/PANC.gif", "http://text.test/PANC"}, false},
    };
    for (const Expectation& e : kExpect) {
        SCOPED_TRACE(e.line);
        config.Set("INTERNET", "C_ZOZI14_TEXTSERVER_ICAO", e.icaoKeys ? "http://text.test/" : "");
        config.Set("INTERNET", "C_ZOZI14_GRAPHSERVER_ICAO", e.icaoKeys ? "http://graph.test/icao/" : "");
        http.requested.clear();
        http.answers.clear();
        http.answers[e.requested[0]] = std::string(kGif);
        http.answers[e.requested[1]] = Page(Header(e.served));
        EXPECT_EQ(RetrieveBulletin(context, "PANC"), e.valid);
        EXPECT_EQ(http.requested, e.requested);
    }
}

}  // namespace
}  // namespace skelmar
