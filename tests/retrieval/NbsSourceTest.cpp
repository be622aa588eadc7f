#include "retrieval/NbsSource.h"

#include <algorithm>
#include <chrono>
#include <fstream>
#include <iostream>
#include <map>
#include <sstream>
#include <string>

#include <gtest/gtest.h>

#include "retrieval/BulletinCheck.h"
#include "retrieval/BulletinText.h"
#include "retrieval/HttpClient.h"
#include "retrieval/NbsValidation.h"
#include "retrieval/RetrievalSequence.h"
#include "tests/support/LoopbackServer.h"
#include "tests/support/MemoryConfigTexts.h"
#include "tests/support/ScopedResources.h"
#include "text/Error.h"

namespace skelmar {
namespace {

using test::LoopbackServer;
using test::Reply;

std::string ReadFixture(std::string_view name)
{
    std::ifstream in(std::string(SKELMAR_FIXTURES) + "/nbs/" + std::string(name), std::ios::binary);
    std::stringstream buffer;
    buffer << in.rdbuf();
    return buffer.str();
}

// The blocks of the real fixture by identifier, each with its blank line after it.
std::map<std::string, std::string> RealBlocks()
{
    const std::string text = ReadFixture("nbs_v42_kdan_kdaw_kday_08z.txt");
    std::map<std::string, std::string> blocks;
    for (std::size_t at = 0; at < text.size();) {
        std::size_t end = text.find("\n\n", at);
        end = end == std::string::npos ? text.size() : end + 1;
        std::string block = text.substr(at, end - at);
        if (block.back() != '\n')
            block += '\n';
        blocks[block.substr(1, 4)] = block;
        at = end + 1;
    }
    return blocks;
}

// A whole-cycle file as NOAA publishes it: the blocks of `stations` stations in the order of
// their identifiers, the real KDAN, KDAW and KDAY among them, about 3.5 KB each, a blank line
// after each block.
std::string CycleFile(int stations)
{
    std::map<std::string, std::string> blocks = RealBlocks();
    const std::string model = blocks.at("KDAN");
    for (int i = 0; i < stations; ++i) {
        // Identifiers of four letters, AAAA upwards, spread over the alphabet.
        int n = i * (26 * 26 * 26 * 26 / stations);
        std::string id(4, 'A');
        for (int k = 3; k >= 0; --k, n /= 26)
            id[static_cast<std::size_t>(k)] = static_cast<char>('A' + n % 26);
        if (!blocks.contains(id))
            blocks[id] = " " + id + model.substr(5);
    }
    std::string file;
    for (const auto& [id, block] : blocks)
        file += block + "\n";
    return file;
}

Reply Ranged(std::string body)
{
    Reply reply;
    reply.body = std::move(body);
    reply.ranges = true;
    return reply;
}

class NbsSourceTest : public ::testing::Test {
protected:
    static const std::string& File()
    {
        static const std::string file = CycleFile(8600);  // about 30 MB, as a real cycle
        return file;
    }
};

// Bytes of one station change, against a server that answers ranges: the real blocks, the
// file's first and last station, each read exactly and within about 1 MB.
TEST_F(NbsSourceTest, FindsAStationsBlockByRangesWithinAMegabyte)
{
    LoopbackServer server;
    server.Serve("/blend.20250506/08/text/blend_nbstx.t08z", Ranged(File()));
    CurlHttpClient http;
    const std::map<std::string, std::string> real = RealBlocks();
    const std::string url = server.Url("/blend.20250506/08/text/blend_nbstx.t08z");

    for (const char* id : {"KDAW", "KDAN", "KDAY"}) {
        const NbsDownload download = FetchNbsBlock(http, url, id);
        std::string expected = real.at(id);
        EXPECT_EQ(download.block, expected) << id;
        EXPECT_LT(download.bodyBytes, 1'000'000u) << id;
        std::cout << "[ bytes    ] " << id << ": " << download.bodyBytes << " bytes in " << download.requests
                  << " requests, file of " << File().size() << " bytes\n";
    }
    const std::string first = File().substr(1, 4);
    const std::size_t lastTitle = File().rfind("NBM V4.2") - 9;
    const std::string last = File().substr(lastTitle + 1, 4);
    for (const std::string& id : {first, last}) {
        const NbsDownload download = FetchNbsBlock(http, url, id);
        EXPECT_TRUE(download.block.starts_with(" " + id + "    NBM V4.2 NBS GUIDANCE")) << id;
        EXPECT_LT(download.bodyBytes, 1'000'000u) << id;
    }
    // Every request asked for a range.
    for (const auto& request : server.Requests())
        EXPECT_TRUE(request.Header("Range").starts_with("bytes=")) << request.path;
}

TEST_F(NbsSourceTest, AStationNotInTheFileIsAnErrorWithinAMegabyte)
{
    LoopbackServer server;
    server.Serve("/nbs", Ranged(File()));
    CurlHttpClient http;
    for (const char* id : {"KDAO", "0000", "ZZZZZ"}) {
        EXPECT_THROW(FetchNbsBlock(http, server.Url("/nbs"), id), Error) << id;
    }
    server.ClearRequests();
    try {
        FetchNbsBlock(http, server.Url("/nbs"), "KDAO");
    } catch (const Error& error) {
        EXPECT_NE(std::string(error.what()).find("KDAO"), std::string::npos);
    }
    EXPECT_LE(server.Requests().size(), 20u);
}

// A server that ignores Range sends the file from its start: the download stops once the
// block has been read, long before the file's end.
TEST_F(NbsSourceTest, StopsTheWholeFileOnceTheBlockIsRead)
{
    LoopbackServer server;
    Reply reply;
    reply.body = File();
    reply.chunked = true;  // no length, no ranges
    server.Serve("/nbs", reply);
    CurlHttpClient http;
    const NbsDownload download = FetchNbsBlock(http, server.Url("/nbs"), "KDAN");
    EXPECT_EQ(download.block, RealBlocks().at("KDAN"));
    const std::size_t end = File().find(" KDAW");
    EXPECT_LT(download.bodyBytes, end + 2 * kNbsProbeBytes + 1024 * 1024);
    EXPECT_LT(download.bodyBytes, File().size() / 2);
}

// The newest cycle is the hour before now; when it is not there yet, the hour before that.
TEST(NbsLatestCycle, FallsBackToAnEarlierHour)
{
    const std::string block = RealBlocks().at("KDAN");
    LoopbackServer server;
    server.Serve("/blend.20260101/22/nbs.t22z", block + "\n");
    CurlHttpClient http;
    // 00:30 UTC on 2 January 2026: the hour before is 23 UTC of 1 January, then 22 UTC.
    const auto now = std::chrono::sys_days(std::chrono::year(2026) / 1 / 2) + std::chrono::minutes(30);
    const NbsDownload download =
        FetchLatestNbsBlock(http, server.Url("/blend.{date}/{hour}/nbs.t{hour}z"), "KDAN", now);
    EXPECT_EQ(download.block, block);
    EXPECT_EQ(download.url, server.Url("/blend.20260101/22/nbs.t22z"));
    ASSERT_GE(server.Requests().size(), 2u);
    EXPECT_EQ(server.Requests().front().path, "/blend.20260101/23/nbs.t23z");

    server.ClearRequests();
    EXPECT_THROW(FetchLatestNbsBlock(http, server.Url("/none/{hour}"), "KDAN", now, 3), Error);
    EXPECT_EQ(server.Requests().size(), 3u);
}

TEST(NbsLatestCycle, ARefusedConnectionEndsTheSearchAtOnce)
{
    CurlHttpClient http;
    const std::string url = "http://127.0.0.1:" + std::to_string(test::ClosedPort()) + "/{hour}";
    EXPECT_THROW(FetchLatestNbsBlock(http, url, "KDAN", std::chrono::system_clock::now()), ConnectionRefusedError);
}

// The user's cancel ends the whole search: no earlier cycle is asked for after it.
TEST(NbsLatestCycle, ACancelEndsTheSearchAtOnce)
{
    class Cancelling final : public HttpClient {
    public:
        std::string Get(const std::string&) override
        {
            ++calls;
            throw TransferCancelledError();
        }
        int calls = 0;
    } http;
    EXPECT_THROW(FetchLatestNbsBlock(http, "http://h/{hour}", "KDAN", std::chrono::system_clock::now(), 3),
                 TransferCancelledError);
    EXPECT_EQ(http.calls, 1);
}

TEST(NbsLatestCycle, AddressOfACycle)
{
    EXPECT_EQ(NbsCycleAddress("https://h/blend.{date}/{hour}/text/blend_nbstx.t{hour}z", 2026, 7, 1, 5),
              "https://h/blend.20260701/05/text/blend_nbstx.t05z");
    EXPECT_EQ(NbsCycleAddress("plain", 2026, 7, 1, 5), "plain");
}

// The picture target of a retrieval that fetches no picture.
class NoPicture final : public PictureTarget {
public:
    std::filesystem::path Path() override { throw Error("no picture is expected"); }
    void Load(const std::filesystem::path&) override {}
};

// With C_TEXT_SOURCE=NBS the station change takes the station's block of the newest cycle
// file; without it, the page as before.
TEST(NbsRetrieval, TheConfigurationSelectsTheSource)
{
    LoopbackServer server;
    server.Serve("/blend.20250506/08/text/blend_nbstx.t08z", Ranged(CycleFile(200)));
    server.Serve("/page/KDAW", "<PRE>\n KDAW   GFS MOS GUIDANCE    5/06/2025  0600 UTC\n</PRE>\n");
    MemoryConfigTexts config{
        {"INTERNET", "C_ZOZI14_TEXTSERVER", server.Url("/page/K")},
        {"INTERNET", "C_FOUS_TEXT_HTML", "PRE"},
        {"INTERNET", "C_NBS_CYCLE_FILE", server.Url("/blend.{date}/{hour}/text/blend_nbstx.t{hour}z")},
    };
    CurlHttpClient http;
    NoPicture picture;
    const auto retrieve = [&](std::string_view code) {
        RetrievalRequest request = MakeRetrievalRequest(config, code, EncodeDate(2025, 5, 6), ':');
        // 09:40 UTC: the newest run is that of 08 UTC.
        request.now = std::chrono::sys_days(std::chrono::year(2025) / 5 / 6) + std::chrono::minutes(9 * 60 + 40);
        return RunRetrieval(request, http, picture);
    };

    EXPECT_EQ(retrieve("DAW").lines.front(), " KDAW   GFS MOS GUIDANCE    5/06/2025  0600 UTC");

    for (const char* selected : {"NBS", " NBS "}) {
        config.Set("INTERNET", "C_TEXT_SOURCE", selected);
        const RetrievalOutcome outcome = retrieve("DAW");
        EXPECT_EQ(outcome.lines, SplitBulletinText(RealBlocks().at("KDAW")));
        EXPECT_TRUE(outcome.textArrived);
        EXPECT_TRUE(outcome.verdict.accepted);
        EXPECT_TRUE(outcome.messages.empty());
    }

    // A station the file does not hold: the text is not found, as for a page.
    const RetrievalOutcome missing = retrieve("XYZ");
    EXPECT_EQ(missing.lines, BulletinLines{"No Report"});
    EXPECT_FALSE(missing.textArrived);
    EXPECT_EQ(missing.messages.front(), (RetrievalMessage{RetrievalMessage::Error, std::string(kTextNotFound)}));
}

// The refusals of the other bulletins: another station, too old, cut short, unreadable.
TEST(NbsValidation, ChecksStationDateAndRows)
{
    const BulletinLines kdaw = SplitBulletinText(RealBlocks().at("KDAW"));
    BulletinLines noVis = kdaw;
    std::erase_if(noVis, [](const std::string& line) { return line.starts_with(" VIS"); });
    BulletinLines cutShort = kdaw;
    cutShort.resize(20);
    struct Case {
        const char* what;
        BulletinLines lines;
        const char* code;
        TDateTime today;
        std::optional<bool> accepted;  // nullopt: no NBS bulletin
        std::string_view refusal;
    };
    const TDateTime may6 = EncodeDate(2025, 5, 6);
    const Case cases[] = {
        {"good", kdaw, "DAW", may6, true, ""},
        {"issued tomorrow by the local date", kdaw, "DAW", may6 - 1, true, ""},
        {"its four-letter code", kdaw, "KDAW", may6, true, ""},
        {"too old", kdaw, "DAW", may6 + 2, false, kDateMismatch},
        {"another station", kdaw, "DAN", may6, false, kCorruptedText},
        {"a row missing", noVis, "DAW", may6, false, kCorruptedText},
        {"cut short", cutShort, "DAW", may6, false, kCorruptedText},
        {"another product", {" KDAW   GFS MOS GUIDANCE    5/06/2025  0600 UTC"}, "DAW", may6, std::nullopt, ""},
    };
    for (const Case& c : cases) {
        const std::optional<BulletinVerdict> verdict = CheckNbsBulletin(c.lines, c.code, c.today);
        ASSERT_EQ(verdict.has_value(), c.accepted.has_value()) << c.what;
        if (!verdict)
            continue;
        EXPECT_EQ(verdict->accepted, *c.accepted) << c.what;
        EXPECT_EQ(verdict->refusal, c.refusal) << c.what;
        if (verdict->accepted) {
            EXPECT_DOUBLE_EQ(*verdict->baseTime, may6 + 8 / 24.0) << c.what;
            EXPECT_EQ(verdict->forecast.instants.size(), 18u) << c.what;
            EXPECT_EQ(verdict->forecast.instants.front().hour, 7) << c.what;
        } else {
            EXPECT_FALSE(verdict->forecast.holdsTable) << c.what;
        }
    }
    // The same check through the bulletin check of every product, which leaves the lines as
    // they are.
    BulletinLines lines = kdaw;
    EXPECT_TRUE(AcceptBulletin(lines, "DAW", may6, ':').accepted);
    EXPECT_EQ(lines, kdaw);
}

// The streamed GET itself: the range asked for, the sink's stop, a failure's body kept away.
TEST(StreamedGet, RangesStopsAndFailures)
{
    LoopbackServer server;
    std::string body(100'000, 'x');
    for (std::size_t i = 0; i < body.size(); i += 10)
        body[i] = static_cast<char>('0' + (i / 10) % 10);
    server.Serve("/doc", Ranged(body));
    CurlHttpClient http;

    std::string got;
    StreamedAnswer answer = http.GetStreamed(server.Url("/doc"), ByteRange{10, 29}, [&](std::string_view piece) {
        got += piece;
        return true;
    });
    EXPECT_EQ(answer.status, 206);
    EXPECT_EQ(answer.totalSize, body.size());
    EXPECT_EQ(got, body.substr(10, 20));
    EXPECT_EQ(server.Requests().back().Header("Range"), "bytes=10-29");

    got.clear();
    answer = http.GetStreamed(server.Url("/doc"), ByteRange{99'990}, [&](std::string_view piece) {
        got += piece;
        return true;
    });
    EXPECT_EQ(got, body.substr(99'990));
    EXPECT_EQ(server.Requests().back().Header("Range"), "bytes=99990-");

    got.clear();
    answer = http.GetStreamed(server.Url("/doc"), std::nullopt, [&](std::string_view piece) {
        got += piece;
        return got.size() < 1000;
    });
    EXPECT_EQ(answer.status, 200);
    EXPECT_TRUE(answer.stopped);
    EXPECT_GE(got.size(), 1000u);
    EXPECT_LT(got.size(), body.size());
    EXPECT_TRUE(server.Requests().back().Header("Range").empty());

    bool reached = false;
    EXPECT_THROW(http.GetStreamed(server.Url("/missing"), std::nullopt,
                                  [&](std::string_view) {
                                      reached = true;
                                      return true;
                                  }),
                 Error);
    EXPECT_FALSE(reached);

    // The client still gets whole bodies, and its size limit, afterwards.
    EXPECT_EQ(http.Get(server.Url("/doc")), body);
}

}  // namespace
}  // namespace skelmar
