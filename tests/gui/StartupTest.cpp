// The start-up paths of the window, its layout essentials and its closing.

#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSlider>
#include <QTabWidget>
#include <QTest>

#include <filesystem>
#include <fstream>

#include "GuiTestSupport.h"
#include "tests/support/ScopedResources.h"
#include "app/RichTextViews.h"
#include "app/Widgets.h"

using namespace skelmar;
using namespace skelmar::testing;

namespace {

const std::string kStations =
    "[STATIONS]\r\nBoston, MA (BOS)=5\r\nDenver, CO (DEN)=7\r\n; Albany, NY (ALB)=5\r\nAlbuquerque, NM (ABQ)=7\r\n";
const std::string kRefs = "<html><body><p>References</p></body></html>";

QStringList Entries(const QComboBox* box)
{
    QStringList entries;
    for (int i = 0; i < box->count(); ++i)
        entries << box->itemText(i);
    return entries;
}

}  // namespace

class StartupTest : public QObject {
    Q_OBJECT

private slots:
    void bothFilesFillTheStationListInFileOrder()
    {
        ProgramFolder folder;
        folder.Write("Skelmar.ini", kStations);
        folder.Write("SkelmarRefs.htm", kRefs);
        FormUnderTest t(folder);
        t.Show();

        QVERIFY(t.messages.messages.empty());
        QVERIFY(!t.form->TerminateRequested());
        QVERIFY(t.form->Config() != nullptr);
        auto* list = t.Find<StationComboBox>("ecComboBoxWxLoc");
        QCOMPARE(Entries(list), (QStringList{"Boston, MA (BOS)=5", "Denver, CO (DEN)=7", "Albuquerque, NM (ABQ)=7"}));
        QCOMPARE(list->currentIndex(), -1);
        QCOMPARE(StationComboBox::DisplayText(list->itemText(1)), QStringLiteral("Denver, CO (DEN)"));
        QCOMPARE(t.Find<QTabWidget>("ecPageControl1")->currentWidget()->objectName(), QStringLiteral("TabSheet4"));
        QVERIFY(t.Find<ReferencesView>("WPRichTextRefs")->toPlainText().contains("References"));
    }

    void usersOwnConfigurationComesFirst()
    {
        ProgramFolder folder;
        folder.Write("Skelmar.ini", kStations);
        folder.Write("SkelmarRefs.htm", kRefs);
        ProgramFolder config;  // the user's XDG configuration folder
        std::filesystem::create_directory(config.Path() / "skelmar");
        std::ofstream(config.Path() / "skelmar" / "Skelmar.ini", std::ios::binary)
            << "[STATIONS]\r\nChicago, IL (ORD)=6\r\n";
        const test::ScopedEnvironment xdg("XDG_CONFIG_HOME", config.Path().string());
        FormUnderTest t(folder);
        t.Show();
        QVERIFY(t.messages.messages.empty());
        QCOMPARE(Entries(t.Find<StationComboBox>("ecComboBoxWxLoc")), (QStringList{"Chicago, IL (ORD)=6"}));
        // The references page is still the shipped one.
        QVERIFY(t.Find<ReferencesView>("WPRichTextRefs")->toPlainText().contains("References"));
    }

    void missingConfigurationEndsTheProgram()
    {
        ProgramFolder folder;
        folder.Write("SkelmarRefs.htm", kRefs);
        FormUnderTest t(folder);
        t.Show();
        QCOMPARE(t.messages.messages,
                 (std::vector<Message>{{Message::Error, "The mandatory file Skelmar.ini cannot be found."}}));
        QVERIFY(t.form->TerminateRequested());
        QCOMPARE(t.Find<QComboBox>("ecComboBoxWxLoc")->count(), 0);
    }

    void missingReferencesCutTheStartUpShort()
    {
        ProgramFolder folder;
        folder.Write("Skelmar.ini", kStations);
        FormUnderTest t(folder);
        t.Show();
        const std::string path = (folder.Path() / "SkelmarRefs.htm").string();
        QCOMPARE(t.messages.messages, (std::vector<Message>{{Message::GeneralError, "Cannot open file " + path + "."}}));
        QVERIFY(!t.form->TerminateRequested());
        QVERIFY(t.form->Config() == nullptr);
        QCOMPARE(t.Find<QComboBox>("ecComboBoxWxLoc")->count(), 0);
    }

    void bothMissingReportOnlyTheReferences()
    {
        ProgramFolder folder;
        FormUnderTest t(folder);
        t.Show();
        QCOMPARE(t.messages.messages.size(), std::size_t{1});
        QCOMPARE(t.messages.messages[0].kind, Message::GeneralError);
        QVERIFY(!t.form->TerminateRequested());
    }

    void emptyOrMissingStationSection()
    {
        for (const std::string& config : {std::string("[STATIONS]\r\n[TEMP]\r\nTEMP=x\r\n"), std::string("[TEMP]\r\n")}) {
            ProgramFolder folder;
            folder.Write("Skelmar.ini", config);
            folder.Write("SkelmarRefs.htm", kRefs);
            FormUnderTest t(folder);
            t.Show();
            QVERIFY(t.messages.messages.empty());
            QCOMPARE(t.Find<QComboBox>("ecComboBoxWxLoc")->count(), 0);
        }
    }

    void controlsStartInTheirDesignState()
    {
        ProgramFolder folder;
        folder.CopyShippedFiles();
        FormUnderTest t(folder);
        t.Show();

        QCOMPARE(t.form->windowTitle(),
                 QStringLiteral("Skelmar - Extended Aviation Weather Report (Version 1.04 of 20 Aug 2005)"));
        QVERIFY(!t.form->windowIcon().isNull());
        for (const char* name :
             {"Label1", "ecComboBoxWxLoc", "zBitColBtnCloseX", "PanelNotebook", "ecPageControl1", "TabSheet1",
              "TabSheet2", "TabSheet3", "TabSheet4", "ImageUSPickMap", "Label2", "GroupBox1", "RzRadioGroupTimeType",
              "RzTrackBar1", "LabelForecast", "WPRichText1", "RzRadioGroupTempFormat", "Memo1", "Image1",
              "RzLabelForecastPlaceTime", "PanelBeneathRefs", "WPRichTextRefs", "RzURLLabel1"})
            QVERIFY2(t.form->findChild<QWidget*>(QString::fromLatin1(name)) != nullptr, name);

        auto* trackBar = t.Find<QSlider>("RzTrackBar1");
        QCOMPARE(trackBar->minimum(), 2);
        QCOMPARE(trackBar->maximum(), 20);
        QCOMPARE(trackBar->value(), 2);
        QVERIFY(!trackBar->isEnabled());
        QCOMPARE(trackBar->orientation(), Qt::Vertical);
        QVERIFY(!trackBar->invertedAppearance());  // minimum at the bottom

        QCOMPARE(t.Find<RadioGroup>("RzRadioGroupTimeType")->ItemIndex(), 1);    // Zulu
        QCOMPARE(t.Find<RadioGroup>("RzRadioGroupTempFormat")->ItemIndex(), 0);  // Fahrenheit
        QCOMPARE(t.Find<QLabel>("LabelForecast")->text(), QStringLiteral(" No Forecast"));
        const QStringList captions = {"+6 Hours", "+12 Hours", "+18 Hours", "+24 Hours", "+30 Hours",
                                      "+36 Hours", "+42 Hours", "+48 Hours", "+54 Hours", "+60 Hours"};
        for (int k = 0; k < captions.size(); ++k) {
            const auto* label = t.Find<QLabel>(qPrintable(QStringLiteral("LabelTime%1").arg(6 * (k + 1), 2, 10, QLatin1Char('0'))));
            QCOMPARE(label->text(), captions[k]);
            QCOMPARE(label->geometry().right() + 1, 161);
        }
        // The time labels run from +6 at the bottom to +60 at the top, beside the track bar.
        QVERIFY(t.Find<QLabel>("LabelTime06")->y() > t.Find<QLabel>("LabelTime60")->y());

        auto* memo = t.Find<QPlainTextEdit>("Memo1");
        QVERIFY(!memo->isVisible());
        QCOMPARE(memo->toPlainText(), QStringLiteral("Memo1"));
        QVERIFY(!t.Find<QWidget>("RzLabelForecastPlaceTime")->isVisibleTo(t.form.get()));
        QVERIFY(t.Find<QLabel>("Image1")->pixmap().isNull());
        QVERIFY(!t.timer.IsActive());
        QCOMPARE(t.Find<QLabel>("ImageUSPickMap")->size(), QSize(450, 300));
        QVERIFY(t.Find<ReferencesView>("WPRichTextRefs")->isReadOnly());
        QVERIFY(!t.Find<ReportView>("WPRichText1")->isReadOnly());
        QCOMPARE(t.Find<QPushButton>("zBitColBtnCloseX")->text(), QStringLiteral("&Exit"));
        QCOMPARE(t.form->size(), QSize(838, 604));
    }

    void tabColoursFollowThePage()
    {
        ProgramFolder folder;
        folder.CopyShippedFiles();
        FormUnderTest t(folder);
        t.Show();
        auto* pages = t.Find<ColouredTabWidget>("ecPageControl1");
        const QColor face = pages->palette().color(QPalette::Button);
        const QColor grey = pages->palette().color(QPalette::Disabled, QPalette::WindowText);
        QVERIFY(face != grey);
        for (int selected : {0, 2, 1}) {
            pages->setCurrentIndex(selected);  // a change made by the program
            const QImage bar = pages->Bar()->grab().toImage();
            for (int i = 0; i < pages->count(); ++i) {
                const QColor expected = i == selected ? face : grey;
                QCOMPARE(pages->Bar()->TabColour(i), expected);
                const QPoint inside = pages->Bar()->tabRect(i).topLeft() + QPoint(3, 3);
                QCOMPARE(bar.pixelColor(inside * bar.devicePixelRatio()), expected);
            }
        }
    }

    void exitClosesAndReleases()
    {
        ProgramFolder folder;
        folder.CopyShippedFiles();
        FormUnderTest t(folder);
        t.Show();
        QVERIFY(t.form->Config() != nullptr);
        QVERIFY(t.form->ZoneList() != nullptr);
        QTest::mouseClick(t.Find<QPushButton>("zBitColBtnCloseX"), Qt::LeftButton);
        QVERIFY(!t.form->isVisible());
        QVERIFY(t.form->Config() == nullptr);
        QVERIFY(t.form->ZoneList() == nullptr);
    }
};

QTEST_MAIN(StartupTest)
#include "StartupTest.moc"
