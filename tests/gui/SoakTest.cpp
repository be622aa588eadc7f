// A long run of station changes in the real window against a server on 127.0.0.1: good
// bulletins, refused connections and failed downloads (404) in turn, each checked. Resident
// memory and open file descriptors are printed after a warm-up, every 100 changes and at the
// end; the run fails when either grows beyond what connections kept open and the heap's own
// slack explain.
// Not part of the test run: scripts/soak builds and starts it (SKELMAR_SOAK_CHANGES, default
// 1000).

#include <QCoreApplication>
#include <QTest>

#include <cstdio>
#include <cstdlib>
#include <string>

#include "GuiTestSupport.h"
#include "retrieval/RetrievalSequence.h"
#include "tests/support/ProcessStatus.h"

using namespace skelmar;
using namespace skelmar::testing;

namespace {

constexpr int kWarmUpChanges = 30;
// A descriptor or a quarter of a KiB lost per change would exceed these.
constexpr long kMaxDescriptorGrowth = 4;  // connections kept alive by the client and the server
constexpr long kMaxGrowthKiB = 256;

struct Figures {
    long residentKiB;
    long descriptors;
};

Figures Measure(int changes)
{
    const Figures figures{test::ProcessStatusKiB("VmRSS"), test::OpenDescriptors()};
    std::printf("after %5d changes: resident %6ld KiB, open descriptors %3ld\n", changes, figures.residentKiB,
                figures.descriptors);
    std::fflush(stdout);
    return figures;
}

}  // namespace

class SoakTest : public QObject {
    Q_OBJECT

private slots:
    void stationChangesInARow()
    {
        const char* requested = std::getenv("SKELMAR_SOAK_CHANGES");
        const int changes = requested ? std::atoi(requested) : 1000;
        QVERIFY2(changes > kWarmUpChanges, "SKELMAR_SOAK_CHANGES must exceed the warm-up");

        Station s;
        const std::string closed = "http://127.0.0.1:" + std::to_string(test::ClosedPort()) + "/";
        const std::string warning(kConnectWarning);
        const std::string corrupted(kCorruptedText);
        Figures start{};
        for (int i = 1; i <= changes; ++i) {
            s.t->messages.messages.clear();
            s.server.ClearRequests();
            std::vector<Message> expected;
            switch (i % 3) {
            case 0:  // a good bulletin
                s.PointDownloadsAt(s.server.Url("/text/K"), s.server.Url("/graph/"));
                break;
            case 1:  // the connection refused
                s.PointDownloadsAt(closed, closed);
                expected = {{Message::Warning, warning}, {Message::Warning, warning}, {Message::Error, corrupted}};
                break;
            default:  // both documents not found
                s.PointDownloadsAt(s.server.Url("/none/K"), s.server.Url("/none/"));
                expected = {{Message::Error, std::string(kGraphicNotFound)},
                            {Message::Error, std::string(kTextNotFound)},
                            {Message::Error, corrupted}};
                break;
            }
            s.Choose(QStringLiteral("Boston, MA (BOS)=5"));
            // What the event loop does between two user events: without it, the events that
            // the change posts would pile up and pass for a leak.
            QCoreApplication::processEvents();
            QCOMPARE(s.t->messages.messages, expected);
            if (i % 3 == 0)
                QVERIFY(s.Report().startsWith(QStringLiteral("Extended Aviation Weather Report for Boston, MA (BOS)")));
            if (i == kWarmUpChanges)
                start = Measure(i);
            else if (i % 100 == 0 || i == changes)
                Measure(i);
        }
        const Figures end{test::ProcessStatusKiB("VmRSS"), test::OpenDescriptors()};
        std::printf("growth over %d changes: resident %+ld KiB, open descriptors %+ld\n", changes - kWarmUpChanges,
                    end.residentKiB - start.residentKiB, end.descriptors - start.descriptors);
        QVERIFY(end.descriptors - start.descriptors <= kMaxDescriptorGrowth);
        QVERIFY(end.residentKiB - start.residentKiB <= kMaxGrowthKiB);
    }
};

QTEST_MAIN(SoakTest)
#include "SoakTest.moc"
