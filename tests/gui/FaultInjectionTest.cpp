// Retrievals against servers that misbehave, in the window end to end: each fault must end
// with its message and leave the window in the state that a retrieval ending at that step
// leaves, and the window must stay usable: a re-render works and the next retrieval succeeds.

#include <QApplication>
#include <QLabel>
#include <QPlainTextEdit>
#include <QSignalSpy>
#include <QSlider>
#include <QTabWidget>
#include <QTest>

#include <chrono>
#include <iterator>
#include <memory>

#include "GuiTestSupport.h"
#include "app/Widgets.h"
#include "retrieval/RetrievalSequence.h"
#include "tests/support/LoopbackServer.h"
#include "text/Error.h"

using namespace skelmar;
using namespace skelmar::testing;
using namespace std::chrono_literals;

namespace {

const QString kBoston = QStringLiteral("Boston, MA (BOS)=5");

// 2 x 2 pixels; 43 bytes, its image data in one sub-block.
const std::string kTwoByTwoGif("GIF89a\x02\x00\x02\x00\xf0\x00\x00\xff\x00\x00\x00\x00\x00!\xf9\x04\x00\x00\x00\x00\x00,"
                               "\x00\x00\x00\x00\x02\x00\x02\x00\x00\x02\x02\x84\x51\x00;",
                               43);

// A server that fails in one way, and its address before the station code.
struct FaultyServer {
    std::unique_ptr<test::SilentServer> silent;
    std::unique_ptr<test::RawServer> raw;
    std::string root;  // "http://127.0.0.1:<port>/fault/"
};

void ServeRaw(FaultyServer& f, std::string answer, std::chrono::milliseconds byteInterval = {})
{
    f.raw = std::make_unique<test::RawServer>(std::move(answer), byteInterval);
    f.root = f.raw->Url("/fault/");
}

// Both documents at the window's own server, under "/fault/".
template <typename ServePath>
void ServeBoth(Station& s, FaultyServer& f, ServePath serve)
{
    for (const char* path : {"/fault/KBOS.htm", "/fault/BOS.gif"})
        serve(std::string(path));
    f.root = s.server.Url("/fault/");
}

constexpr std::uint64_t k100MB = 100 * 1000 * 1000;

struct Fault {
    int line;
    const char* name;
    void (*start)(Station& s, FaultyServer& f);
    const char* clientMessage;  // part of the HTTP client's message: the fault is the one meant
    bool refused;               // the connection warning instead of the not-found error
    bool stalls;                // ends only at the client's time limit
};

const Fault kFaults[] = {
    {__LINE__, "accepts and never answers",
     [](Station&, FaultyServer& f) {
         f.silent = std::make_unique<test::SilentServer>();
         f.root = f.silent->Url("/fault/");
     },
     "Connection timed out", false, true},
    {__LINE__, "one byte a second",
     [](Station&, FaultyServer& f) { ServeRaw(f, "HTTP/1.1 200 OK\r\nContent-Length: 5\r\n\r\nhello", 1000ms); },
     "Connection timed out", false, true},
    {__LINE__, "closes in the middle of the body",
     [](Station&, FaultyServer& f) {
         ServeRaw(f, "HTTP/1.1 200 OK\r\nContent-Length: 1000\r\n\r\n" + std::string(100, 'x'));
     },
     "transfer closed with 900 bytes remaining", false, false},
    {__LINE__, "100 MB body with its length announced",
     [](Station& s, FaultyServer& f) {
         ServeBoth(s, f, [&](const std::string& path) { s.server.ServeGenerated(path, k100MB, false); });
     },
     "Response too large (more than 16 MiB)", false, false},
    {__LINE__, "100 MB body in chunks",
     [](Station& s, FaultyServer& f) {
         ServeBoth(s, f, [&](const std::string& path) { s.server.ServeGenerated(path, k100MB, true); });
     },
     "Response too large (more than 16 MiB)", false, false},
    {__LINE__, "redirect loop",
     [](Station& s, FaultyServer& f) {
         ServeBoth(s, f, [&](const std::string& path) { s.server.ServeRedirect(path, s.server.Url(path)); });
     },
     "HTTP/1.1 302 Found: redirected to http://127.0.0.1:", false, false},
    {__LINE__, "status 500",
     [](Station& s, FaultyServer& f) {
         ServeBoth(s, f, [&](const std::string& path) { s.server.Serve(path, test::Reply{500, "Internal error", {}}); });
     },
     "HTTP/1.1 500 Internal Server Error", false, false},
    {__LINE__, "malformed status line",
     [](Station&, FaultyServer& f) { ServeRaw(f, "HTTP/1.1 OK\r\nContent-Length: 2\r\n\r\nhi"); }, "Unsupported HTTP version in response", false, false},
    {__LINE__, "invalid chunked encoding",
     [](Station&, FaultyServer& f) {
         ServeRaw(f, "HTTP/1.1 200 OK\r\nTransfer-Encoding: chunked\r\n\r\nnot hex\r\nbody\r\n0\r\n\r\n");
     },
     "Illegal or missing hexadecimal sequence in chunked-encoding", false, false},
    {__LINE__, "connection refused",
     [](Station&, FaultyServer& f) { f.root = "http://127.0.0.1:" + std::to_string(test::ClosedPort()) + "/fault/"; },
     "# 10061", true, false},
};

// The program's body limit; a stall costs one second.
HttpLimits LimitsFor(const Fault& fault)
{
    HttpLimits limits;
    limits.connectTimeout = 2s;
    limits.totalTimeout = fault.stalls ? 1s : 10s;
    return limits;
}

Message DownloadMessage(const Fault& fault, std::string_view notFound)
{
    return fault.refused ? Message{Message::Warning, std::string(kConnectWarning)}
                         : Message{Message::Error, std::string(notFound)};
}

void AddFaultRows()
{
    QTest::addColumn<int>("row");
    for (std::size_t i = 0; i < std::size(kFaults); ++i)
        QTest::newRow(qPrintable(QStringLiteral("%1 (line %2)").arg(kFaults[i].name).arg(kFaults[i].line)))
            << static_cast<int>(i);
}

// A re-render works on what is held, and the next retrieval from a good server succeeds and
// leaves `good`.
void CheckStillUsable(Station& s, const Snapshot& good)
{
    QVERIFY(QApplication::overrideCursor() == nullptr);
    const std::size_t messages = s.t->messages.messages.size();
    QSignalSpy composed(s.t->form.get(), &TForm1::reportComposed);
    QTest::mouseClick(s.t->Find<RadioGroup>("RzRadioGroupTempFormat")->Item(1), Qt::LeftButton);
    QTest::mouseClick(s.t->Find<RadioGroup>("RzRadioGroupTempFormat")->Item(0), Qt::LeftButton);
    QCOMPARE(composed.count(), 2);
    QCOMPARE(s.t->messages.messages.size(), messages);

    s.t->messages.messages.clear();
    s.ServeBoston();
    s.PointDownloadsAt(s.server.Url("/text/K"), s.server.Url("/graph/"));
    s.Choose(kBoston);
    QCOMPARE(s.t->messages.messages, std::vector<Message>{});
    QCOMPARE(composed.count(), 3);
    QCOMPARE(Snapshot::Of(s), good);
}

// A good retrieval, as the state that a failed one must keep. Then no message is held and
// the page "Select Station" is in front, to see whether the next change brings "Text Report".
Snapshot RetrieveBoston(Station& s)
{
    s.Choose(kBoston);
    const Snapshot good = Snapshot::Of(s);
    [&] {
        QCOMPARE(s.t->messages.messages, std::vector<Message>{});
        QVERIFY(good.memoShowsLines);
        QCOMPARE(good.baseTime, EncodeDate(2026, 12, 9) + 0.5);
        QCOMPARE(good.picture.size(), QSize(1, 1));
        QVERIFY(good.report.startsWith(QStringLiteral("Extended Aviation Weather Report for Boston, MA (BOS)")));
    }();
    s.t->messages.messages.clear();
    s.pages->setCurrentWidget(s.t->Find<QWidget>("TabSheet4"));
    return good;
}

// Starts the faulty server of `fault` and checks, with a client of the same limits, that it
// fails in the way meant (and not, say, with a 404 for a wrong path).
void StartFault(const Fault& fault, Station& s, FaultyServer& f)
{
    fault.start(s, f);
    try {
        CurlHttpClient(LimitsFor(fault)).Get(f.root + "KBOS.htm");
        QFAIL("the faulty server answered");
    } catch (const skelmar::Error& error) {
        QVERIFY2(std::string_view(error.what()).find(fault.clientMessage) != std::string_view::npos, error.what());
    }
}

}  // namespace

// A window with a good retrieval behind it, and the faulty server of one row started.
struct FaultScene {
    explicit FaultScene(const Fault& row) : fault(row), s("", true, LimitsFor(row))
    {
        good = RetrieveBoston(s);
        if (!QTest::currentTestFailed())
            StartFault(fault, s, f);
    }
    const Fault& fault;
    Station s;
    Snapshot good;
    FaultyServer f;
};

class FaultInjectionTest : public QObject {
    Q_OBJECT

private slots:
    void textDownloadFaults_data() { AddFaultRows(); }

    // The picture arrives, the text does not: the corrupted-file error follows the download's
    // message; the lines are cut to nothing at the tag, the issue time, report, time scale
    // and track bar stay, and the forecast label says that no forecast was obtained.
    void textDownloadFaults()
    {
        QFETCH(int, row);
        FaultScene scene(kFaults[row]);
        if (QTest::currentTestFailed())
            return;
        auto& [fault, s, good, f] = scene;
        s.server.Serve("/graph/BOS.gif", kTwoByTwoGif);  // a new picture arrives
        s.PointDownloadsAt(f.root + "K", s.server.Url("/graph/"));
        s.t->Find<QSlider>("RzTrackBar1")->setEnabled(false);  // to see that it is left alone
        QSignalSpy composed(s.t->form.get(), &TForm1::reportComposed);
        s.Choose(kBoston);

        QCOMPARE(s.t->messages.messages,
                 (std::vector<Message>{DownloadMessage(fault, kTextNotFound), {Message::Error, std::string(kCorruptedText)}}));
        QCOMPARE(composed.count(), 0);
        Snapshot expected = good;
        expected.lines = {};  // "No Report", cut away with the rest at the tag
        expected.forecastLabel = QString::fromLatin1(kNoForecastObtained.data(), kNoForecastObtained.size());
        expected.picture = QImage::fromData(QByteArray::fromStdString(kTwoByTwoGif)).convertToFormat(QImage::Format_ARGB32);
        expected.page = QStringLiteral("TabSheet1");  // also after a failed retrieval
        expected.trackBarEnabled = false;
        QCOMPARE(Snapshot::Of(s), expected);
        QCOMPARE(ReadFileBytes(QString::fromStdString(s.t->picture.string())), kTwoByTwoGif);

        CheckStillUsable(s, good);
    }

    void pictureDownloadFaults_data() { AddFaultRows(); }

    // The text arrives, the picture does not: after the download's message the retrieval
    // succeeds and the report is composed; the old picture and its file stay.
    void pictureDownloadFaults()
    {
        QFETCH(int, row);
        FaultScene scene(kFaults[row]);
        if (QTest::currentTestFailed())
            return;
        auto& [fault, s, good, f] = scene;
        // The same bulletin issued at midnight, so that the new report can be told apart.
        std::string midnight = ReadFileBytes(QStringLiteral(SKELMAR_FIXTURES "/bulletins/ngm_bos_winter.txt"));
        midnight.replace(midnight.find("1200 UTC"), 4, "0000");
        s.server.Serve("/text/KBOS.htm", StationPage(midnight));
        s.PointDownloadsAt(s.server.Url("/text/K"), f.root);
        QSignalSpy composed(s.t->form.get(), &TForm1::reportComposed);
        s.Choose(kBoston);

        QCOMPARE(s.t->messages.messages, std::vector<Message>{DownloadMessage(fault, kGraphicNotFound)});
        QCOMPARE(composed.count(), 1);
        const Snapshot after = Snapshot::Of(s);
        QCOMPARE(after.lines, good.lines);
        QVERIFY(after.memoShowsLines);
        QCOMPARE(after.baseTime, EncodeDate(2026, 12, 9));
        QVERIFY2(after.report.startsWith(QStringLiteral(
                     "Extended Aviation Weather Report for Boston, MA (BOS), at December 9, 2026 0600 Zulu")),
                 qPrintable(after.report.left(100)));
        QCOMPARE(after.timeLabels.value(0), QStringLiteral("12/9/26 0600"));
        QCOMPARE(after.forecastLabel, QStringLiteral("Forecast: December 9, 2026 0000 Zulu, Boston, MA (BOS) station."));
        QCOMPARE(after.picture, good.picture);
        QCOMPARE(after.placeTime, good.placeTime);  // the caption names the picture that stays
        QCOMPARE(ReadFileBytes(QString::fromStdString(s.t->picture.string())), kOnePixelGif);
        QCOMPARE(after.page, QStringLiteral("TabSheet1"));
        QVERIFY(after.trackBarEnabled);

        CheckStillUsable(s, good);
    }

    void pictureDecodingFaults_data()
    {
        QTest::addColumn<QByteArray>("picture");
        QTest::addColumn<QString>("message");
        const auto row = [](const char* name, int line, const std::string& bytes, const char* message) {
            QTest::newRow(qPrintable(QStringLiteral("%1 (line %2)").arg(QString::fromLatin1(name)).arg(line)))
                << QByteArray::fromStdString(bytes) << QString::fromLatin1(message);
        };
        row("truncated", __LINE__, kTwoByTwoGif.substr(0, 40), "Invalid GIF picture: incomplete data.");
        row("garbage after a valid header", __LINE__, std::string(kTwoByTwoGif, 0, 19) + std::string(64, '\xa5'),
            "Invalid GIF picture: Unable to read image data.");
        row("empty", __LINE__, "", "Invalid GIF signature.");
    }

    // A picture that does not decode ends the retrieval in the general error box: the text is
    // not fetched and holds "No Report"; nothing else changes, the page included.
    void pictureDecodingFaults()
    {
        QFETCH(QByteArray, picture);
        QFETCH(QString, message);
        Station s;
        const Snapshot good = RetrieveBoston(s);
        if (QTest::currentTestFailed())
            return;

        s.server.Serve("/graph/BOS.gif", picture.toStdString());
        s.server.ClearRequests();
        s.Choose(kBoston);

        QCOMPARE(s.t->messages.messages, (std::vector<Message>{{Message::GeneralError, message.toStdString()}}));
        QCOMPARE(s.Requested(), std::vector<std::string>{"/graph/BOS.gif"});
        Snapshot expected = good;
        expected.lines = {"No Report"};
        expected.page = QStringLiteral("TabSheet4");
        QCOMPARE(Snapshot::Of(s), expected);

        CheckStillUsable(s, good);
    }
};

QTEST_MAIN(FaultInjectionTest)
#include "FaultInjectionTest.moc"
