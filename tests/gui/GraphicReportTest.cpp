// The "Graphic Report" page: the graph drawn from the bulletin when no picture server is
// configured, redrawn with the report, and a downloaded picture left alone.

#include <QLabel>
#include <QSlider>
#include <QTest>

#include "GuiTestSupport.h"
#include "app/Widgets.h"
#include "graph/ForecastGraph.h"
#include "report/ForecastGraphModel.h"
#include "report/ReportComposer.h"
#include "retrieval/ConfigFile.h"
#include "retrieval/RetrievalSequence.h"

using namespace skelmar;
using namespace skelmar::testing;

namespace {

const QString kBoston = QStringLiteral("Boston, MA (BOS)=5");

QImage Shown(const Station& s)
{
    return s.t->Find<QLabel>("Image1")->pixmap().toImage().convertToFormat(QImage::Format_RGB32);
}

// The graph of what the window holds, with the given selections.
ForecastGraphModel HeldModel(const Station& s, int step, TemperatureUnit unit, TimeType timeType)
{
    TimeTextContext time;
    time.timeType = timeType;
    time.zone = s.t->form->State().stationTimeZone;
    const ForecastState& state = s.t->form->State();
    return BuildForecastGraphModel(
        ReportInputs{state.forecast, state.forecastBaseTime, step, unit, "Boston, MA (BOS)", *s.t->form->Config(), time});
}

}  // namespace

class GraphicReportTest : public QObject {
    Q_OBJECT

private slots:
    void graphDrawnWithoutAPictureServer()
    {
        Station s("", false);
        s.Choose(kBoston);
        QCOMPARE(s.t->messages.messages, std::vector<Message>{});
        QCOMPARE(s.Requested(), std::vector<std::string>{"/text/KBOS.htm"});
        QVERIFY(!std::filesystem::exists(s.t->picture));

        const ForecastGraphModel model = HeldModel(s, 2, TemperatureUnit::Fahrenheit, TimeType::Zulu);
        QVERIFY(model.holdsTable);
        QCOMPARE(Shown(s), DrawForecastGraph(model));
        const ForecastGraphLayout layout = LayOutForecastGraph(model);
        QCOMPARE(Shown(s).pixel(static_cast<int>(layout.hourX[0]), static_cast<int>(layout.cloudRow.top()) + 1), kMarkerLine);

        // The rotated caption is placed from the picture area's height, as before.
        auto* caption = s.t->Find<RotatedLabel>("RzLabelForecastPlaceTime");
        QVERIFY(!caption->isHidden());
        const int width = s.t->form->fontMetrics().horizontalAdvance(caption->text());
        QCOMPARE(caption->y(), s.t->Find<QLabel>("Image1")->height() / 2 - width / 2 + 8);
    }

    void graphRedrawnWithTheReport()
    {
        Station s("", false);
        s.Choose(kBoston);

        QTest::mouseClick(s.t->Find<RadioGroup>("RzRadioGroupTempFormat")->Item(1), Qt::LeftButton);  // Celsius
        QCOMPARE(Shown(s), DrawForecastGraph(HeldModel(s, 2, TemperatureUnit::Celsius, TimeType::Zulu)));
        QTest::mouseClick(s.t->Find<RadioGroup>("RzRadioGroupTimeType")->Item(0), Qt::LeftButton);  // Local
        QCOMPARE(Shown(s), DrawForecastGraph(HeldModel(s, 2, TemperatureUnit::Celsius, TimeType::Local)));

        // The track bar: once its timer has fired, with the report.
        auto* trackBar = s.t->Find<QSlider>("RzTrackBar1");
        trackBar->setValue(8);
        QCOMPARE(Shown(s), DrawForecastGraph(HeldModel(s, 2, TemperatureUnit::Celsius, TimeType::Local)));
        s.t->timer.Advance(1000);
        const ForecastGraphModel model = HeldModel(s, 8, TemperatureUnit::Celsius, TimeType::Local);
        QCOMPARE(Shown(s), DrawForecastGraph(model));
        const ForecastGraphLayout layout = LayOutForecastGraph(model);
        QCOMPARE(Shown(s).pixel(static_cast<int>(layout.hourX[6]), static_cast<int>(layout.cloudRow.top()) + 1), kMarkerLine);
        QVERIFY(s.Report().contains(QStringLiteral("at December 10, 2026 7:00 am local")));
        QCOMPARE(s.t->messages.messages, std::vector<Message>{});
    }

    void failedRetrievalKeepsTheGraph()
    {
        Station s("", false);
        s.Choose(kBoston);
        const QImage graph = Shown(s);
        s.server.Serve("/text/KBOS.htm", test::Reply{404, "", {}});
        s.t->messages.messages.clear();
        s.Choose(kBoston);
        QCOMPARE(s.t->messages.messages,
                 (std::vector<Message>{{Message::Error, std::string(kTextNotFound)},
                                       {Message::Error, std::string(kCorruptedText)}}));
        QCOMPARE(Shown(s), graph);
    }

    void downloadedPictureIsNotReplaced()
    {
        Station s;
        s.Choose(kBoston);
        QCOMPARE(s.t->Find<QLabel>("Image1")->pixmap().size(), QSize(1, 1));
        QTest::mouseClick(s.t->Find<RadioGroup>("RzRadioGroupTempFormat")->Item(1), Qt::LeftButton);
        QCOMPARE(s.t->Find<QLabel>("Image1")->pixmap().size(), QSize(1, 1));
    }

    void nothingDrawnBeforeARetrieval()
    {
        Station s("", false);
        QTest::mouseClick(s.t->Find<RadioGroup>("RzRadioGroupTempFormat")->Item(1), Qt::LeftButton);
        QVERIFY(s.t->Find<QLabel>("Image1")->pixmap().isNull());
    }
};

QTEST_MAIN(GraphicReportTest)
#include "GraphicReportTest.moc"
