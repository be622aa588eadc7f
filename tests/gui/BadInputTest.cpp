// Odd configuration files, a binary references file and map clicks anywhere: the window stays
// usable and every error reaches the error box with its exact text.

#include <QComboBox>
#include <QLabel>
#include <QRandomGenerator>
#include <QSignalSpy>
#include <QTabWidget>
#include <QTest>

#include "GuiTestSupport.h"
#include "app/PickMapTable.h"
#include "app/RichTextViews.h"
#include "app/Widgets.h"
#include "forecast/ForecastReaders.h"

using namespace skelmar;
using namespace skelmar::testing;

class BadInputTest : public QObject {
    Q_OBJECT

private slots:
    void oddConfigurationTexts()
    {
        ProgramFolder folder;
        const std::string huge(100000, 'x');
        folder.Write("Skelmar.ini",
                     "[STATIONS]\r\n\"Quoted (QUO)\"=\"7\"\r\nLong (LNG)=" + huge + "\r\n" + huge +
                     " (BIG)=5\r\n=no key\r\n]\r\n[\r\n"
                     "[GENERAL]\r\nHeading={\\b unbalanced \\'zz \\u99999 \\par\r\n"
                     "[TEMP]\r\nTEMP=%s %s %s %d %%\r\n");
        folder.Write("SkelmarRefs.htm", "<p>x</p>");
        FormUnderTest t(folder);
        t.Show();
        QVERIFY(t.messages.messages.empty());
        auto* list = t.Find<QComboBox>("ecComboBoxWxLoc");
        QCOMPARE(list->count(), 2);
        QCOMPARE(list->itemText(0), QStringLiteral("\"Quoted (QUO)\"=7"));  // keys keep their quotes
        // A value is read up to 2047 characters; a key that does not fit the key list ends it.
        QCOMPARE(list->itemText(1), QStringLiteral("Long (LNG)=") + QString(2047, QLatin1Char('x')));

        t.form->State().bulletinLines = {"MX/MN", "TEMP   41", "DEWPT  30"};
        t.form->State().forecast = ReadNgmTable(t.form->State().bulletinLines);
        QSignalSpy composed(t.form.get(), &TForm1::reportComposed);
        QTest::mouseClick(t.Find<RadioGroup>("RzRadioGroupTempFormat")->Item(1), Qt::LeftButton);
        QCOMPARE(composed.count(), 1);
        QVERIFY(t.messages.messages.empty());
        const QString report = t.Find<ReportView>("WPRichText1")->toPlainText();
        QVERIFY2(report.contains(QStringLiteral("5\u00B0 C   %d %%")), qPrintable(report));
    }

    void binaryReferencesFile()
    {
        ProgramFolder folder;
        folder.Write("Skelmar.ini", "[STATIONS]\r\nBoston, MA (BOS)=5\r\n");
        std::string bytes(200000, '\0');
        QRandomGenerator random(42);
        for (char& c : bytes)
            c = static_cast<char>(random.bounded(256));
        folder.Write("SkelmarRefs.htm", bytes);
        FormUnderTest t(folder);
        t.Show();
        QVERIFY(t.messages.messages.empty());
        QCOMPARE(t.Find<QComboBox>("ecComboBoxWxLoc")->count(), 1);
    }

    void mapClicksAnywhere()
    {
        ProgramFolder folder;
        folder.CopyShippedFiles();
        FormUnderTest t(folder);
        t.Show();
        t.connection.connected = false;  // every hit ends at the connection check
        auto* pages = t.Find<QTabWidget>("ecPageControl1");
        int hits = 0;
        // Every other pixel of the picture and a margin around it.
        for (int y = -2; y <= 302; y += 2) {
            for (int x = -3; x <= 453; x += 2) {
                pages->setCurrentIndex(2);
                t.form->ImageUSPickMapMouseUp(x, y);
                const bool hit = PickMapHit(x, y).has_value();
                hits += hit;
                // A hit on a listed station asks for the connection and ends on Text Report.
                QCOMPARE(pages->currentIndex(), hit ? 1 : 2);
            }
        }
        QVERIFY(hits > 500);
        QCOMPARE(t.messages.messages.size(), static_cast<std::size_t>(hits));
        QCOMPARE(t.connection.asked, hits);
    }
};

QTEST_MAIN(BadInputTest)
#include "BadInputTest.moc"
