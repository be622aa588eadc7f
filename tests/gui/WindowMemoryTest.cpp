// The window's memory between runs, in the user's settings under a temporary
// $XDG_CONFIG_HOME, and the map page's count of the stations only the list holds.

#include <QAbstractButton>
#include <QApplication>
#include <QLabel>
#include <QSettings>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

#include <memory>

#include "GuiTestSupport.h"
#include "app/WindowMemory.h"

using namespace skelmar;
using namespace skelmar::testing;

namespace {

// Counts the requests the server has had when the window is first painted.
class PaintSpy final : public QObject {
public:
    PaintSpy(QWidget& window, const test::LoopbackServer& server) : server_(server) { window.installEventFilter(this); }
    std::optional<std::size_t> requestsAtFirstPaint;

protected:
    bool eventFilter(QObject*, QEvent* event) override
    {
        if (event->type() == QEvent::Paint && !requestsAtFirstPaint)
            requestsAtFirstPaint = server_.Requests().size();
        return false;
    }

private:
    const test::LoopbackServer& server_;
};

}  // namespace

class WindowMemoryTest : public QObject {
    Q_OBJECT

private slots:
    void init()
    {
        UserSettings()->clear();
    }

    void choicesComeBackAndTheStationIsFetchedAfterThePaint()
    {
        const std::unique_ptr<QSettings> settings = UserSettings();
        // Under the temporary config folder, never the user's own.
        QCOMPARE(settings->fileName(), qEnvironmentVariable("XDG_CONFIG_HOME") + QStringLiteral("/skelmar/skelmar.conf"));

        Station first("", true, kTestHttpLimits, settings.get());
        QCOMPARE(first.list->currentIndex(), -1);  // nothing remembered yet
        QVERIFY(first.server.Requests().empty());
        first.Choose(QStringLiteral("Boston, MA (BOS)=5"));
        QTest::mouseClick(first.t->Find<RadioGroup>("RzRadioGroupTimeType")->Item(0), Qt::LeftButton);
        QTest::mouseClick(first.t->Find<RadioGroup>("RzRadioGroupTempFormat")->Item(1), Qt::LeftButton);
        first.t.reset();
        settings->sync();

        const std::size_t before = first.server.Requests().size();
        FormUnderTest second(first.folder, kTestHttpLimits, settings.get());
        PaintSpy painted(*second.form, first.server);
        QSignalSpy composed(second.form.get(), &TForm1::reportComposed);
        second.Show();
        // Shown as left: the station, Local and Celsius.
        QCOMPARE(second.Find<StationComboBox>("ecComboBoxWxLoc")->currentText(), QStringLiteral("Boston, MA (BOS)=5"));
        QVERIFY(second.Find<RadioGroup>("RzRadioGroupTimeType")->Item(0)->isChecked());
        QVERIFY(second.Find<RadioGroup>("RzRadioGroupTempFormat")->Item(1)->isChecked());
        // Its report is fetched once the window is painted, not before.
        QVERIFY(composed.count() > 0 || composed.wait(10000));
        QCOMPARE(painted.requestsAtFirstPaint, std::optional<std::size_t>(before));
        QCOMPARE(first.server.Requests().back().path, std::string("/text/KBOS.htm"));
        QCOMPARE(second.messages.messages, std::vector<Message>{});
        QVERIFY(second.form->ComposedReport().find("local") != std::string::npos);
    }

    void aStationNoLongerListedIsForgottenSilently()
    {
        const std::unique_ptr<QSettings> settings = UserSettings();
        settings->setValue(QStringLiteral("station"), QStringLiteral("Nowhere, XX (NOW)"));
        settings->setValue(QStringLiteral("unit"), QStringLiteral("celsius"));
        settings->sync();
        Station s;
        s.t.reset();
        FormUnderTest t(s.folder, kTestHttpLimits, settings.get());
        PaintSpy painted(*t.form, s.server);
        t.Show();
        QTRY_VERIFY(painted.requestsAtFirstPaint.has_value());
        QCoreApplication::processEvents();  // what the first paint queued
        QCOMPARE(t.Find<StationComboBox>("ecComboBoxWxLoc")->currentIndex(), -1);
        QVERIFY(s.server.Requests().empty());
        QVERIFY(t.messages.messages.empty());
        QVERIFY(!settings->contains(QStringLiteral("station")));
        QVERIFY(t.Find<RadioGroup>("RzRadioGroupTempFormat")->Item(1)->isChecked());  // the rest stays
    }

    void theMapPageCountsTheStationsOnlyTheListHolds()
    {
        Station shipped;
        QCOMPARE(shipped.t->Find<QLabel>("Label2")->text(),
                 QStringLiteral("Click on station to retrieve forecast\n"
                                "(Drop down contains %1 additional stations not on this map)")
                     .arg(shipped.list->count() - 54));

        ProgramFolder folder;
        folder.CopyShippedFiles();
        folder.Write("Skelmar.ini", ReadFileBytes(QStringLiteral(SKELMAR_FIXTURES "/config/Skelmar-69-stations.ini")));
        FormUnderTest old(folder);
        old.Show();
        QVERIFY(old.Find<QLabel>("Label2")->text().endsWith(QStringLiteral("(Drop down contains 15 additional stations not on this map)")));
    }
};

int main(int argc, char* argv[])
{
    // Before anything reads the settings' location.
    QTemporaryDir configHome;
    qputenv("XDG_CONFIG_HOME", configHome.path().toLocal8Bit());
    QApplication app(argc, argv);
    WindowMemoryTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "WindowMemoryTest.moc"
