// The "Text Report" page: composing from what is held, the selectors, the debounced track
// bar and the time scale.

#include <QComboBox>
#include <QLabel>
#include <QSignalSpy>
#include <QSlider>
#include <QTest>
#include <QTextBlock>

#include "GuiTestSupport.h"
#include "app/RichTextViews.h"
#include "app/Widgets.h"
#include "forecast/BulletinTable.h"
#include "forecast/ForecastReaders.h"
#include "tests/support/BulletinFixture.h"
#include "time/Calendar.h"
#include "time/RegistryTimeZones.h"

using namespace skelmar;
using namespace skelmar::testing;

namespace {

// A started window over the shipped files, with Boston selected from the program and the
// winter fixture held as the last retrieval would leave it.
struct ReportPage {
    ReportPage() : t(folder)
    {
        folder.CopyShippedFiles();
        t.Show();
    }
    void HoldWinterBulletin()
    {
        BulletinLines lines = ReadBulletinFile(std::string(SKELMAR_FIXTURES) + "/bulletins/ngm_bos_winter.txt");
        NormaliseBulletinTable(lines);
        t.form->State().bulletinLines = lines;
        t.form->State().forecast = ReadNgmTable(lines);
        t.form->State().forecastBaseTime = EncodeDate(2026, 12, 9) + 0.5;
        const TVeskRegistryTimeZone* eastern = t.form->ZoneList()->FindByKeyName("Eastern Standard Time");
        QVERIFY(eastern != nullptr);
        t.form->State().stationTimeZone = eastern->TimeZone();
        auto* list = t.Find<QComboBox>("ecComboBoxWxLoc");
        list->setCurrentIndex(list->findText(QStringLiteral("Boston, MA (BOS)=5")));
        QVERIFY(list->currentIndex() >= 0);
    }
    QString Report() const { return t.Find<ReportView>("WPRichText1")->toPlainText(); }
    void Click(const char* group, int item) const
    {
        QTest::mouseClick(t.Find<RadioGroup>(group)->Item(item), Qt::LeftButton);
    }
    QString Label(int hours) const
    {
        return t.Find<QLabel>(qPrintable(QStringLiteral("LabelTime%1").arg(hours, 2, 10, QLatin1Char('0'))))->text();
    }

    ProgramFolder folder;
    FormUnderTest t;
};

}  // namespace

class ReportPageTest : public QObject {
    Q_OBJECT

private slots:
    void headingAloneBeforeAnyRetrieval()
    {
        ReportPage page;
        QSignalSpy composed(page.t.form.get(), &TForm1::reportComposed);
        page.Click("RzRadioGroupTimeType", 0);  // Local
        QCOMPARE(composed.count(), 1);
        QCOMPARE(page.Report(), QStringLiteral("Extended Aviation Weather Report for , at December 30, 1899 6:00 am local"));
        // Times counted from a zero base; no zone found yet, so local equals Zulu.
        QCOMPARE(page.Label(6), QStringLiteral("12/30/99 06:00 am"));
        QCOMPARE(page.Label(24), QStringLiteral("12/31/99 12:00 am"));

        const QTextCharFormat heading = page.t.Find<ReportView>("WPRichText1")->document()->begin().begin().fragment().charFormat();
        QVERIFY(heading.font().bold());
        QVERIFY(heading.font().italic());
        QCOMPARE(heading.fontPointSize(), 13.0);
        QCOMPARE(heading.fontFamilies().toStringList().value(0), QStringLiteral("Times New Roman"));
        QVERIFY(page.t.messages.messages.empty());
    }

    void selectorsRecomposeFromTheHeldLines()
    {
        ReportPage page;
        page.HoldWinterBulletin();
        QSignalSpy composed(page.t.form.get(), &TForm1::reportComposed);

        page.Click("RzRadioGroupTempFormat", 1);  // Celsius
        QCOMPARE(composed.count(), 1);
        QVERIFY2(page.Report().contains(QStringLiteral("The temperature will be -1\u00B0 C.")), qPrintable(page.Report()));
        QVERIFY(page.Report().startsWith(QStringLiteral("Extended Aviation Weather Report for Boston, MA (BOS), at December 9, 2026 1800 Zulu")));
        QCOMPARE(page.Label(6), QStringLiteral("+6 Hours"));  // the unit leaves the time scale alone

        page.Click("RzRadioGroupTempFormat", 0);  // Fahrenheit
        QVERIFY(page.Report().contains(QStringLiteral("The temperature will be 31\u00B0 F.")));

        // The body is Arial 11 pt, upright and not bold.
        const QTextBlock body = page.t.Find<ReportView>("WPRichText1")->document()->begin().next();
        const QTextCharFormat format = body.begin().fragment().charFormat();
        QCOMPARE(format.fontFamilies().toStringList().value(0), QStringLiteral("Arial"));
        QCOMPARE(format.fontPointSize(), 11.0);
        QVERIFY(!format.font().bold());
        QVERIFY(!format.font().italic());

        page.Click("RzRadioGroupTimeType", 0);  // Local: labels first, then the report
        QCOMPARE(page.Label(6), QStringLiteral("12/9/26 01:00 pm"));
        QVERIFY(page.Report().contains(QStringLiteral("at December 9, 2026 1:00 pm local")));
        QCOMPARE(composed.count(), 3);
    }

    void trackBarComposesOnceAfterItStops()
    {
        ReportPage page;
        page.HoldWinterBulletin();
        auto* trackBar = page.t.Find<QSlider>("RzTrackBar1");
        trackBar->setEnabled(true);
        QSignalSpy composed(page.t.form.get(), &TForm1::reportComposed);

        // A drag from 2 to 20.
        for (int position = 3; position <= 20; ++position)
            trackBar->setValue(position);
        QCOMPARE(page.t.timer.starts, 18);
        QCOMPARE(page.t.timer.Interval(), 1000);
        page.t.timer.Advance(999);
        QCOMPARE(composed.count(), 0);
        page.t.timer.Advance(1);
        QCOMPARE(composed.count(), 1);
        QVERIFY(!page.t.timer.IsActive());
        page.t.timer.Advance(10000);
        QCOMPARE(composed.count(), 1);
        QVERIFY(page.Report().contains(QStringLiteral("at December 12, 2026 0000 Zulu")));  // hour 60

        // Two moves 900 ms apart: one composition, 1000 ms after the second.
        trackBar->setValue(5);
        page.t.timer.Advance(900);
        trackBar->setValue(6);
        page.t.timer.Advance(900);
        QCOMPARE(composed.count(), 1);
        page.t.timer.Advance(100);
        QCOMPARE(composed.count(), 2);
        QVERIFY(page.Report().contains(QStringLiteral("at December 10, 2026 0600 Zulu")));  // hour 18
    }

    void windErrorEmptiesTheViewAndReachesTheErrorBox()
    {
        ReportPage page;
        page.HoldWinterBulletin();
        page.Click("RzRadioGroupTempFormat", 1);
        QVERIFY(!page.Report().isEmpty());
        page.t.form->State().bulletinLines = {"MX/MN", "WSPD 1x", "WDIR 09"};
        page.t.form->State().forecast = ReadNgmTable(page.t.form->State().bulletinLines);
        QSignalSpy composed(page.t.form.get(), &TForm1::reportComposed);
        page.Click("RzRadioGroupTempFormat", 0);
        QCOMPARE(composed.count(), 0);
        QCOMPARE(page.Report(), QString());
        QCOMPARE(page.t.messages.messages,
                 (std::vector<Message>{{Message::GeneralError, "'1x' is not a valid integer value."}}));
    }

    void timeScaleAndRotatedCaption()
    {
        ReportPage page;
        page.HoldWinterBulletin();
        page.Click("RzRadioGroupTimeType", 1);  // Zulu
        const QStringList zulu = {"12/9/26 1800", "12/10/26 0000", "0600", "1200", "1800",
                                  "12/11/26 0000", "0600", "1200", "1800", "12/12/26 0000"};
        for (int k = 0; k < zulu.size(); ++k)
            QCOMPARE(page.Label(6 * (k + 1)), zulu[k]);
        // Right-aligned: the right edges stay at 161 as the texts grow.
        QCOMPARE(page.t.Find<QLabel>("LabelTime12")->geometry().right() + 1, 161);

        QCOMPARE(page.t.Find<QLabel>("LabelForecast")->text(),
                 QStringLiteral("Forecast: December 9, 2026 1200 Zulu, Boston, MA (BOS) station."));
        auto* caption = page.t.Find<RotatedLabel>("RzLabelForecastPlaceTime");
        const QString text = QStringLiteral("Time of forecast: 12/9/26 1200 Zulu for Boston, MA (BOS).   ");
        QCOMPARE(caption->text(), text);
        QVERIFY(!caption->isHidden());  // shown on its page, which is not the current one
        const int width = page.t.form->fontMetrics().horizontalAdvance(text);
        QCOMPARE(caption->y(), 512 / 2 - width / 2 + 8);
        QCOMPARE(caption->x(), 76);
    }
};

QTEST_MAIN(ReportPageTest)
#include "ReportPageTest.moc"
