#include "retrieval/RetrievalSequence.h"

#include <filesystem>
#include <fstream>
#include <map>
#include <variant>

#include <gtest/gtest.h>

#include "retrieval/BulletinCheck.h"
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

// Answers from a table of addresses: a body, a refused connection, or a failure with its
// message.
class FakeHttp final : public HttpClient {
public:
    std::string Get(const std::string& url) override
    {
        requested.push_back(url);
        const auto found = answers.find(url);
        if (found == answers.end())
            throw Error("HTTP/1.1 404 Not Found");
        if (std::holds_alternative<Refused>(found->second))
            throw ConnectionRefusedError();
        if (std::holds_alternative<Cancelled>(found->second))
            throw TransferCancelledError();
        if (const auto* failure = std::get_if<Failure>(&found->second))
            throw Error(failure->message);
        return std::get<std::string>(found->second);
    }
    struct Failure {
        std::string message;
    };
    struct Refused {};
    struct Cancelled {};
    std::map<std::string, std::variant<std::string, Failure, Refused, Cancelled>> answers;
    std::vector<std::string> requested;
};

// The picture file in a folder of the test; loading checks the signature only.
class FolderPicture final : public PictureTarget {
public:
    explicit FolderPicture(std::filesystem::path file) : file(std::move(file)) {}
    std::filesystem::path Path() override
    {
        ++pathAsked;
        return file;
    }
    void Load(const std::filesystem::path& loaded) override
    {
        std::ifstream in(loaded, std::ios::binary);
        std::string head(6, '\0');
        in.read(head.data(), 6);
        if (head != "GIF87a" && head != "GIF89a")
            throw skelmar::Error("Invalid GIF signature");
        ++loads;
    }
    std::filesystem::path file;
    int pathAsked = 0;
    int loads = 0;
};

const std::string kText = "http://text.test/K";
const std::string kGraph = "http://graph.test/";
const RetrievalMessage kCorrupted{RetrievalMessage::Error, std::string(kCorruptedText)};

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
    RetrievalSequenceTest() : picture(folder.Path() / "Temp.gif")
    {
        config.Set("INTERNET", "C_ZOZI14_TEXTSERVER", "http://text.test/K");
        config.Set("INTERNET", "C_FOUS_TEXT_EXT", "");
        config.Set("INTERNET", "C_ZOZI14_GRAPHSERVER", "http://graph.test/");
        config.Set("INTERNET", "C_FOUS_GRAPH_EXT", ".gif");
        config.Set("INTERNET", "C_FOUS_TEXT_HTML", "PRE");
    }

    void ServeBoston(std::string_view header = "BOS   EC NGM MOS GUIDANCE   12/9/26  1200 UTC")
    {
        http.answers[kGraph + "BOS.gif"] = std::string(kGif);
        http.answers[kText + "BOS"] = Page(Header(header));
    }

    RetrievalOutcome Run(std::string_view code = "BOS")
    {
        return RunRetrieval(MakeRetrievalRequest(config, code, EncodeDate(2026, 12, 9), ':'), http, picture);
    }

    test::TemporaryFolder folder;
    MemoryConfigTexts config;
    FakeHttp http;
    FolderPicture picture;
};

TEST_F(RetrievalSequenceTest, GoodBulletinIsValidatedAndNormalised)
{
    ServeBoston();
    const RetrievalOutcome outcome = Run();
    EXPECT_TRUE(outcome.messages.empty());
    EXPECT_FALSE(outcome.error);
    EXPECT_TRUE(outcome.pictureLoaded && outcome.textArrived && outcome.checked);
    EXPECT_TRUE(outcome.verdict.accepted);
    EXPECT_EQ(outcome.verdict.baseTime, EncodeDate(2026, 12, 9) + 0.5);
    EXPECT_EQ(outcome.lines, (BulletinLines{"MX/MN 34", "TEMP 31 30 29 "}));
    EXPECT_EQ(http.requested, (std::vector<std::string>{kGraph + "BOS.gif", kText + "BOS"}));
    std::ifstream file(folder.Path() / "Temp.gif", std::ios::binary);
    EXPECT_EQ(std::string(std::istreambuf_iterator<char>(file), {}), kGif);
}

TEST_F(RetrievalSequenceTest, NoPictureServerDownloadsNoPicture)
{
    ServeBoston();
    config.Set("INTERNET", "C_ZOZI14_GRAPHSERVER", "");
    // The picture's place is not even asked for: a cache folder that cannot hold it must not
    // stop a retrieval that writes no picture.
    picture.file = folder.Path() / "missing" / "Temp.gif";
    RetrievalOutcome outcome = Run();
    EXPECT_TRUE(outcome.verdict.accepted);
    EXPECT_FALSE(outcome.pictureLoaded);
    EXPECT_EQ(picture.pathAsked, 0);
    EXPECT_EQ(http.requested, std::vector<std::string>{kText + "BOS"});
    EXPECT_EQ(outcome.lines, (BulletinLines{"MX/MN 34", "TEMP 31 30 29 "}));

    // A failed text download leaves what it always leaves, with its one message.
    http.answers.erase(kText + "BOS");
    outcome = Run();
    EXPECT_EQ(outcome.messages,
              (std::vector<RetrievalMessage>{{RetrievalMessage::Error, std::string(kTextNotFound)}, kCorrupted}));
    EXPECT_TRUE(outcome.lines.empty());
    EXPECT_FALSE(outcome.textArrived);
    EXPECT_TRUE(outcome.checked);
    EXPECT_FALSE(outcome.verdict.baseTime);
}

TEST_F(RetrievalSequenceTest, RefusedConnectionWarnsTwiceThenCallsTheTextCorrupted)
{
    http.answers[kGraph + "BOS.gif"] = FakeHttp::Refused{};
    http.answers[kText + "BOS"] = FakeHttp::Refused{};
    RetrievalOutcome outcome = Run();
    const RetrievalMessage warning{RetrievalMessage::Warning, std::string(kConnectWarning)};
    EXPECT_EQ(outcome.messages, (std::vector<RetrievalMessage>{warning, warning, kCorrupted}));
    EXPECT_TRUE(outcome.lines.empty());  // "No Report" went with the tag extraction

    config.Set("INTERNET", "C_FOUS_TEXT_HTML", "");
    outcome = Run();
    EXPECT_EQ(outcome.lines, BulletinLines{"No Report"});

    // Only the type tells a refused connection: a message that reads like one is not.
    http.answers[kText + "BOS"] = FakeHttp::Failure{std::string(kConnectionRefusedMessage)};
    outcome = Run();
    EXPECT_EQ(outcome.messages[1], (RetrievalMessage{RetrievalMessage::Error, std::string(kTextNotFound)}));
}

TEST_F(RetrievalSequenceTest, FailedDownloadsAreNotFoundErrors)
{
    http.answers[kGraph + "BOS.gif"] = FakeHttp::Failure{"Host not found: graph.test"};
    http.answers[kText + "BOS"] = FakeHttp::Failure{"Connection timed out (after 20000 ms)"};
    EXPECT_EQ(Run().messages, (std::vector<RetrievalMessage>{{RetrievalMessage::Error, std::string(kGraphicNotFound)},
                                                             {RetrievalMessage::Error, std::string(kTextNotFound)},
                                                             kCorrupted}));
}

TEST_F(RetrievalSequenceTest, CancelledTransferEndsTheRetrievalWithoutAnOutcome)
{
    ServeBoston();
    http.answers[kText + "BOS"] = FakeHttp::Cancelled{};
    EXPECT_THROW(Run(), TransferCancelledError);
    http.answers[kGraph + "BOS.gif"] = FakeHttp::Cancelled{};
    http.requested.clear();
    EXPECT_THROW(Run(), TransferCancelledError);
    EXPECT_EQ(http.requested.size(), 1u);
}

TEST(BulletinCheck, HeaderChecks)
{
    struct Expectation {
        int line;
        std::string header;  // after the first character
        bool accepted;
        std::string refusal;
        std::optional<TDateTime> baseTime;
    };
    const std::string corrupted(kCorruptedText);
    const std::string dateError(kDateMismatch);
    const TDateTime dec9 = EncodeDate(2026, 12, 9);
    const Expectation kExpect[] = {
        {__LINE__, "BOS w2 w3 w4 w5 12/9/26 1200 UTC", true, {}, dec9 + 0.5},
        {__LINE__, "BOS w2 w3 w4 w5 12/10/26 0000", true, {}, dec9 + 1},       // tomorrow
        {__LINE__, "BOS w2 w3 w4 w5 12/8/26 1800", false, dateError, dec9 - 1},  // yesterday
        {__LINE__, "BOS w2 w3 w4 w5 12/11/26 0000", false, dateError, dec9 + 2},
        {__LINE__, "BOS w2 w3 w4 w5 2/30/26 0000", false, {}, 0},             // no such date: silent
        {__LINE__, "BOS w2 w3 w4 w5 99/99/99 0000", false, {}, 0},
        {__LINE__, "BOS w2 w3 w4 w5 12/9 1200", false, dateError, EncodeDate(20, 12, 9)},  // year 20
        {__LINE__, "BOS w2 w3 w4 w5 1/1/99999 1200", false, dateError, EncodeDate(2847, 1, 1)},  // 16 bits
        {__LINE__, "bos w2 w3 w4 w5 12/9/26 1200", false, corrupted, std::nullopt},  // case counts
        {__LINE__, " BOS w2 w3 w4 w5 12/9/26 1200", false, corrupted, std::nullopt},
        {__LINE__, "DEN w2 w3 w4 w5 12/9/26 1200", false, corrupted, std::nullopt},
        {__LINE__, "BOS w2 w3 w4 12/9/26 1200", false, corrupted, std::nullopt},   // six words
        {__LINE__, "BOS", false, corrupted, std::nullopt},
        {__LINE__, "", false, corrupted, std::nullopt},
    };
    for (const Expectation& e : kExpect) {
        SCOPED_TRACE(e.line);
        BulletinLines lines = {" " + e.header, "MX/MN 1"};
        const BulletinVerdict verdict = AcceptBulletin(lines, "BOS", dec9, ':');
        EXPECT_EQ(verdict.accepted, e.accepted);
        EXPECT_EQ(verdict.refusal, e.refusal);
        EXPECT_EQ(verdict.baseTime, e.baseTime);
        // A refused bulletin is left as it was downloaded; an accepted one is normalised.
        EXPECT_EQ(lines.size(), e.accepted ? 1u : 2u);
    }
}

TEST(BulletinCheck, FieldsThatDoNotConvertAreErrors)
{
    struct Expectation {
        int line;
        std::string header;
        std::string message;
    };
    const Expectation kExpect[] = {
        {__LINE__, "BOS w2 w3 w4 w5 12/x/26 1200", "'x' is not a valid integer value"},
        {__LINE__, "BOS w2 w3 w4 w5 x/9/26 1200", "'x' is not a valid integer value"},
        {__LINE__, "BOS w2 w3 w4 w5 12/9/2x 1200", "'202x' is not a valid integer value"},
        {__LINE__, "BOS w2 w3 w4 w5 /9/26 1200", "'' is not a valid integer value"},
        {__LINE__, "BOS w2 w3 w4 w5 12/9/26 12x0", "'12:x0' is not a valid time"},
        {__LINE__, "BOS w2 w3 w4 w5 12/9/26 2400", "'24:00' is not a valid time"},
        {__LINE__, "BOS w2 w3 w4 w5 12/9/26 UTC", "'UT:C' is not a valid time"},
        {__LINE__, "BOS w2 w3 w4 w5 12/9/26 12", "'12:' is not a valid time"},
    };
    for (const Expectation& e : kExpect) {
        SCOPED_TRACE(e.line);
        try {
            CheckBulletin({" " + e.header}, "BOS", EncodeDate(2026, 12, 9), ':');
            ADD_FAILURE() << "no error";
        } catch (const Error& error) {
            EXPECT_EQ(error.what(), e.message);
        }
    }
}

TEST(BulletinCheck, IssueTimeUsesTheRegionalSeparator)
{
    const BulletinVerdict verdict = CheckBulletin({" BOS w2 w3 w4 w5 12/9/26 0600"}, "BOS", EncodeDate(2026, 12, 9), '.');
    EXPECT_TRUE(verdict.accepted);
    EXPECT_EQ(verdict.baseTime, EncodeDate(2026, 12, 9) + 0.25);
    EXPECT_EQ(StrToTime("6.5", '.'), EncodeTime(6, 5, 0, 0));
}

TEST_F(RetrievalSequenceTest, PictureThatIsNotAGifEndsTheRetrieval)
{
    ServeBoston();
    http.answers[kGraph + "BOS.gif"] = std::string("<html>not a picture</html>");
    const RetrievalOutcome outcome = Run();
    EXPECT_EQ(outcome.error, "Invalid GIF signature");
    EXPECT_EQ(http.requested.size(), 1u);  // the text is not downloaded
    EXPECT_EQ(outcome.lines, BulletinLines{"No Report"});
    EXPECT_FALSE(outcome.checked);
}

TEST_F(RetrievalSequenceTest, PictureFileThatCannotBeCreated)
{
    ServeBoston();
    // A folder that cannot exist: its parent is a file.
    std::ofstream(folder.Path() / "file") << "x";
    picture.file = folder.Path() / "file" / "Temp.gif";
    const RetrievalOutcome outcome = Run();
    EXPECT_EQ(outcome.error, "Cannot create file " + picture.file.string());
    EXPECT_EQ(http.requested.size(), 1u);
}

TEST_F(RetrievalSequenceTest, TagRulesOnTheDownloadedPage)
{
    // The tag twice: only the first section; never closed: all but the page's last line.
    http.answers[kGraph + "BOS.gif"] = std::string(kGif);
    http.answers[kText + "BOS"] = std::string("a\r\n<PRE>\r\nB1\r\n</PRE>\r\n<PRE>\r\nB2\r\n</PRE>\r\n");
    EXPECT_EQ(Run().lines, BulletinLines{"B1"});
    http.answers[kText + "BOS"] = std::string("a\n<PRE>\nB1\nB2\nlast");
    EXPECT_EQ(Run().lines, (BulletinLines{"B1", "B2"}));
    http.answers[kText + "BOS"] = std::string(1000, '\0');
    EXPECT_TRUE(Run().lines.empty());
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
        EXPECT_EQ(Run("PANC").verdict.accepted, e.valid);
        EXPECT_EQ(http.requested, e.requested);
    }
}

}  // namespace
}  // namespace skelmar
