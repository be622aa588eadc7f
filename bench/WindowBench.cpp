// The window's own work, measured in the window itself on the offscreen platform against a
// server on 127.0.0.1, in a release build (bench/run runs it):
//  - StationChange: one station change end to end: the connectivity check, both downloads,
//    the header and date checks, normalisation, composition and loading the report view.
//    Goal: under 15 ms.
//  - ReRender: composing the report again and loading it into the report view. Goal: under
//    2 ms.
//  - FirstKeystroke: a key typed on the closed station list: the list opens, narrowed to the
//    entries that match it. NextKeystroke: one more key on the open list ("garde" to
//    "garden"). Goal for both: under 16 ms, a frame.
// The events that a change posts (painting) are handled between iterations, untimed, as the
// event loop does between two user events.
// With --peak-memory it makes one station change instead, paints, and prints its peak
// resident memory (VmHWM, KiB).
// With --heartbeat it prints the longest gap (ms) between the ticks of a 10 ms timer on the
// window's thread during 20 good station changes in a row, then during one second of a
// retrieval from a server that never answers: how long the window leaves its user waiting
// (goal: at most 50 ms each).

#include <QAbstractItemView>
#include <QApplication>
#include <QElapsedTimer>
#include <QTest>
#include <QTimer>

#include <benchmark/benchmark.h>

#include <cstdio>
#include <algorithm>
#include <cstring>

#include "app/Widgets.h"
#include "retrieval/ConnectionCheck.h"
#include "tests/gui/GuiTestSupport.h"
#include "tests/support/LoopbackServer.h"
#include "tests/support/ProcessStatus.h"

namespace skelmar {
namespace {

const QString kBoston = QStringLiteral("Boston, MA (BOS)=5");

// Selects Boston as the program would, without running the change.
void SelectBoston(testing::Station& window)
{
    window.list->setCurrentIndex(window.list->findText(kBoston));
}

// A station change as the user makes it, up to its result shown: the retrieval runs on its
// own thread, and the window's event loop runs until the result has been applied.
void ChangeStation(testing::Station& window)
{
    window.t->form->ecComboBoxWxLocChange();
    while (window.t->form->RetrievalRunning())
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
}

// Skips the benchmark unless the last change ended with Boston's report and no message.
void CheckReport(benchmark::State& state, const testing::Station& window)
{
    if (!window.t->messages.messages.empty())
        state.SkipWithError(window.t->messages.messages.front().text.c_str());
    else if (!window.Report().startsWith(QStringLiteral("Extended Aviation Weather Report for Boston")))
        state.SkipWithError("no report");
}

void StationChange(benchmark::State& state, testing::Station& window)
{
    SelectBoston(window);
    // The window's stand-in answers at once; the real check is asked too, as the change does.
    InterfaceConnectionCheck connection;
    for (auto _ : state) {
        benchmark::DoNotOptimize(connection.IsConnected());
        ChangeStation(window);
        state.PauseTiming();
        QCoreApplication::processEvents();
        state.ResumeTiming();
    }
    CheckReport(state, window);
}

void ReRender(benchmark::State& state, testing::Station& window)
{
    SelectBoston(window);
    ChangeStation(window);
    for (auto _ : state) {
        window.t->form->ComposeReport();
        state.PauseTiming();
        QCoreApplication::processEvents();
        state.ResumeTiming();
    }
    CheckReport(state, window);
}

void FirstKeystroke(benchmark::State& state, testing::Station& window)
{
    window.list->setFocus();
    for (auto _ : state) {
        QTest::keyClick(window.list, Qt::Key_G);
        state.PauseTiming();
        if (window.list->SearchText() != QStringLiteral("g"))
            state.SkipWithError("the key did not reach the search");
        QCoreApplication::processEvents();
        QTest::keyClick(window.list->view(), Qt::Key_Escape);
        QCoreApplication::processEvents();
        state.ResumeTiming();
    }
}

void NextKeystroke(benchmark::State& state, testing::Station& window)
{
    window.list->setFocus();
    QTest::keyClicks(window.list, QStringLiteral("garde"));
    for (auto _ : state) {
        QTest::keyClick(window.list->view(), Qt::Key_N);
        state.PauseTiming();
        if (window.list->ShownCount() < 1 || window.list->ShownCount() > 5)
            state.SkipWithError("the search did not narrow the list to Garden City");
        QCoreApplication::processEvents();
        QTest::keyClick(window.list->view(), Qt::Key_Backspace);
        QCoreApplication::processEvents();
        state.ResumeTiming();
    }
    QTest::keyClick(window.list->view(), Qt::Key_Escape);
}

int PrintPeakMemory(testing::Station& window)
{
    SelectBoston(window);
    ChangeStation(window);
    QCoreApplication::processEvents();
    if (!window.t->messages.messages.empty() || window.Report().isEmpty()) {
        std::fprintf(stderr, "the station change failed\n");
        return 1;
    }
    std::printf("%ld\n", test::ProcessStatusKiB("VmHWM"));
    return 0;
}

// The longest time between two ticks of a 10 ms timer on the window's thread.
class Heartbeat {
public:
    Heartbeat()
    {
        timer_.setTimerType(Qt::PreciseTimer);
        timer_.setInterval(10);
        QObject::connect(&timer_, &QTimer::timeout, [this] { Tick(); });
    }
    void Start()
    {
        longest_ = 0;
        clock_.start();
        last_ = 0;
        timer_.start();
    }
    double StopMs()
    {
        Tick();
        timer_.stop();
        return static_cast<double>(longest_) / 1e6;
    }

private:
    void Tick()
    {
        const qint64 now = clock_.nsecsElapsed();
        longest_ = std::max(longest_, now - last_);
        last_ = now;
    }
    QTimer timer_;
    QElapsedTimer clock_;
    qint64 last_ = 0;
    qint64 longest_ = 0;
};

int PrintHeartbeatGaps(testing::Station& window)
{
    SelectBoston(window);
    ChangeStation(window);  // the first change loads what later ones find loaded
    Heartbeat heartbeat;
    heartbeat.Start();
    for (int i = 0; i < 20; ++i)
        ChangeStation(window);
    const double good = heartbeat.StopMs();
    if (!window.t->messages.messages.empty() || window.Report().isEmpty()) {
        std::fprintf(stderr, "the station change failed\n");
        return 1;
    }

    const test::SilentServer silent;
    window.PointDownloadsAt(silent.Url("/K"), "");
    heartbeat.Start();
    window.t->form->ecComboBoxWxLocChange();
    QTest::qWait(1000);
    const double stalled = heartbeat.StopMs();
    if (!window.t->form->RetrievalRunning()) {
        std::fprintf(stderr, "the stalled retrieval ended\n");
        return 1;
    }
    window.t->form->CancelRetrieval();
    std::printf("%.1f %.1f\n", good, stalled);
    return 0;
}

}  // namespace
}  // namespace skelmar

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    skelmar::testing::Station window;
    if (QTest::currentTestFailed()) {
        std::fprintf(stderr, "the window could not be set up\n");
        return 1;
    }
    if (argc > 1 && std::strcmp(argv[1], "--peak-memory") == 0)
        return skelmar::PrintPeakMemory(window);
    if (argc > 1 && std::strcmp(argv[1], "--heartbeat") == 0)
        return skelmar::PrintHeartbeatGaps(window);

    benchmark::RegisterBenchmark("StationChange", skelmar::StationChange, std::ref(window))
        ->Unit(benchmark::kMillisecond);
    benchmark::RegisterBenchmark("ReRender", skelmar::ReRender, std::ref(window))->Unit(benchmark::kMillisecond);
    benchmark::RegisterBenchmark("FirstKeystroke", skelmar::FirstKeystroke, std::ref(window))
        ->Unit(benchmark::kMillisecond);
    benchmark::RegisterBenchmark("NextKeystroke", skelmar::NextKeystroke, std::ref(window))
        ->Unit(benchmark::kMillisecond);
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
