// Choosing a station in the list and on the map, end to end against a server on 127.0.0.1.

#include <QComboBox>
#include <QLabel>
#include <QPlainTextEdit>
#include <QSignalSpy>
#include <QSlider>
#include <QTabWidget>
#include <QTest>

#include "GuiTestSupport.h"
#include "app/PickMapTable.h"
#include "app/RichTextViews.h"
#include "app/Widgets.h"
#include "retrieval/RetrievalSequence.h"
#include "time/RegistryTimeZones.h"

using namespace skelmar;
using namespace skelmar::testing;

class StationSelectionTest : public QObject {
    Q_OBJECT

private slots:
    void mapTableOverlaps_data()
    {
        QTest::addColumn<int>("x");
        QTest::addColumn<int>("y");
        QTest::addColumn<QString>("code");
        QTest::newRow("BOS also inside PWM: the earlier row wins") << 394 << 65 << QStringLiteral("BOS");
        QTest::newRow("LAF lies inside IND") << 300 << 129 << QStringLiteral("IND");
        QTest::newRow("IND") << 301 << 130 << QStringLiteral("IND");
        QTest::newRow("ANJ: no text on the picture, still a station") << 300 << 60 << QStringLiteral("ANJ");
        QTest::newRow("bounds are inclusive") << 429 << 83 << QStringLiteral("BOS");
        QTest::newRow("top left corner") << 0 << 0 << QString();
        QTest::newRow("bottom right corner") << 449 << 299 << QString();
    }

    void mapTableOverlaps()
    {
        QFETCH(int, x);
        QFETCH(int, y);
        QFETCH(QString, code);
        QCOMPARE(QString::fromLatin1(PickMapHit(x, y).value_or("").data()).left(3), code);
    }

    void listSelectionRetrievesAndShowsTheReport()
    {
        Station s;
        QSignalSpy composed(s.t->form.get(), &TForm1::reportComposed);
        s.Choose(QStringLiteral("Boston, MA (BOS)=5"));

        QCOMPARE(s.t->messages.messages, std::vector<Message>{});
        QCOMPARE(s.Requested(), (std::vector<std::string>{"/graph/BOS.gif", "/text/KBOS.htm"}));
        QCOMPARE(composed.count(), 1);
        QCOMPARE(s.Page(), QStringLiteral("TabSheet1"));
        QVERIFY(s.Report().startsWith(QStringLiteral(
            "Extended Aviation Weather Report for Boston, MA (BOS), at December 9, 2026 1800 Zulu")));
        QVERIFY(s.Report().contains(QStringLiteral("The temperature will be 31\u00B0 F. The dew point will be 20\u00B0 F.")));
        QCOMPARE(s.t->Find<QLabel>("LabelTime06")->text(), QStringLiteral("12/9/26 1800"));
        QCOMPARE(s.t->Find<QLabel>("LabelTime60")->text(), QStringLiteral("12/12/26 0000"));
        QCOMPARE(s.t->Find<QLabel>("LabelForecast")->text(),
                 QStringLiteral("Forecast: December 9, 2026 1200 Zulu, Boston, MA (BOS) station."));
        QVERIFY(!s.t->Find<QWidget>("RzLabelForecastPlaceTime")->isHidden());
        QCOMPARE(s.t->Find<QLabel>("Image1")->pixmap().size(), QSize(1, 1));
        QCOMPARE(ReadFileBytes(QString::fromStdString(s.t->picture.string())), kOnePixelGif);
        QVERIFY(s.t->Find<QSlider>("RzTrackBar1")->isEnabled());
        QCOMPARE(s.t->form->State().stationTimeZone.Bias, 300);
        QCOMPARE(s.t->form->State().bulletinLines.front(), std::string("MX/MN 34 18 12 -8"));
        QVERIFY(s.t->Find<QPlainTextEdit>("Memo1")->toPlainText().startsWith(QStringLiteral("MX/MN 34 18 12 -8\nTEMP 31")));
        QCOMPARE(s.t->connection.asked, 1);

        // Local time now follows the station's zone.
        QTest::mouseClick(s.t->Find<RadioGroup>("RzRadioGroupTimeType")->Item(0), Qt::LeftButton);
        QCOMPARE(s.t->Find<QLabel>("LabelTime06")->text(), QStringLiteral("12/9/26 01:00 pm"));
        QVERIFY(s.Report().contains(QStringLiteral("at December 9, 2026 1:00 pm local")));

        // The same station again retrieves again.
        s.Choose(QStringLiteral("Boston, MA (BOS)=5"));
        QCOMPARE(s.Requested().size(), std::size_t{4});
        QCOMPARE(s.t->connection.asked, 2);
    }

    void listSelectionKeepsAnotherPage()
    {
        Station s;
        s.pages->setCurrentWidget(s.t->Find<QWidget>("TabSheet3"));
        s.Choose(QStringLiteral("Boston, MA (BOS)=5"));
        QCOMPARE(s.Page(), QStringLiteral("TabSheet3"));
        QVERIFY(!s.Report().isEmpty());
    }

    void mapClicksChooseTheFirstMatchingStation()
    {
        Station s;
        s.ClickMap(394, 65);  // BOS over PWM
        QCOMPARE(s.list->currentText(), QStringLiteral("Boston, MA (BOS)=5"));
        QCOMPARE(s.Page(), QStringLiteral("TabSheet1"));
        QVERIFY(!s.Report().isEmpty());

        s.pages->setCurrentWidget(s.t->Find<QWidget>("TabSheet2"));
        s.ClickMap(300, 129);  // IND over LAF; nothing served: the downloads fail
        QCOMPARE(s.list->currentText(), QStringLiteral("Indianapolis, IN (IND)=5"));
        QCOMPARE(s.Page(), QStringLiteral("TabSheet1"));  // the map always ends on Text Report
        QCOMPARE(s.t->messages.messages.back(), (Message{Message::Error, std::string(kCorruptedText)}));

        s.ClickMap(300, 60);
        QCOMPARE(s.list->currentText(), QStringLiteral("Sault Ste. Marie, MI (ANJ)=5"));

        const std::size_t before = s.server.Requests().size();
        const std::size_t messages = s.t->messages.messages.size();
        s.ClickMap(0, 0);
        QCOMPARE(s.server.Requests().size(), before);
        QCOMPARE(s.t->messages.messages.size(), messages);
    }

    void mapStationMissingFromTheListChangesNothing()
    {
        Station s;
        QComboBox* list = s.list;
        list->removeItem(list->findText(QStringLiteral("Boston, MA (BOS)=5")));
        s.pages->setCurrentWidget(s.t->Find<QWidget>("TabSheet2"));
        s.ClickMap(400, 66);  // inside BOS and PWM: BOS is the hit, and it is not listed
        QCOMPARE(list->currentIndex(), -1);
        QCOMPARE(s.Page(), QStringLiteral("TabSheet2"));
        QVERIFY(s.server.Requests().empty());
        QVERIFY(s.t->messages.messages.empty());
    }

    void noConnection()
    {
        Station s;
        s.t->connection.connected = false;
        s.Choose(QStringLiteral("Boston, MA (BOS)=5"));
        QCOMPARE(s.t->messages.messages,
                 (std::vector<Message>{{Message::Warning, "Could not detect Internet connection.\r\n"
                                                          "Please establish an Internet connection and try again."}}));
        QVERIFY(s.server.Requests().empty());
        QCOMPARE(s.Page(), QStringLiteral("TabSheet4"));  // from the list: the page stays
        QCOMPARE(s.list->currentText(), QStringLiteral("Boston, MA (BOS)=5"));
        QCOMPARE(s.t->form->State().stationTimeZone, TIME_ZONE_INFORMATION{});
        QCOMPARE(s.t->form->State().bulletinLines, BulletinLines{"Memo1"});

        s.ClickMap(394, 65);  // from the map: Text Report all the same
        QCOMPARE(s.Page(), QStringLiteral("TabSheet1"));
        QVERIFY(s.server.Requests().empty());
    }

    void zonesOfTheStations()
    {
        Station s("[STATIONS]\r\nBoston, MA (BOS)=9\r\nPhoenix, AZ (PHX)=7\r\nOdd (ODD)=x\r\n"
                  "No code, MA=5\r\nBoston Logan, MA (BOS)=5\r\nAtlantis (ATL)=5\r\n"
                  "[TIMEZONES]\r\nPHX=US Mountain Standard Time\r\nATL=America/Atlantis\r\n");
        s.Choose(QStringLiteral("Phoenix, AZ (PHX)=7"));  // a zone of the zone list by its key name
        const TIME_ZONE_INFORMATION phoenix = s.t->form->State().stationTimeZone;
        QCOMPARE(phoenix.Bias, 420);
        QCOMPARE(phoenix.DaylightDate.wMonth, std::uint16_t{0});  // no daylight time

        // Each bad entry: the error box, nothing retrieved, no page change, the clock kept, and
        // the list back on the station whose report is shown.
        const struct {
            const char* entry;
            const char* message;
        } kBad[] = {
            {"Odd (ODD)=x", "'x' is not a valid integer value."},
            {"Boston, MA (BOS)=9", "The station \"Boston, MA (BOS)\" has no time zone: its zone index 9 is none of "
                                   "5 to 8, and [TIMEZONES] in Skelmar.ini names no zone for it."},
            {"Atlantis (ATL)=5", "The time zone \"America/Atlantis\" of the station \"Atlantis (ATL)\" is not in the "
                                 "time zone database"},
            {"No code, MA=5", "The station \"No code, MA\" has no station code in parentheses: that takes 3 or 4 "
                              "capital letters or digits."},
            {"Boston Logan, MA (BOS)=5", "The station code BOS stands in 2 entries of [STATIONS] in Skelmar.ini; "
                                         "each station needs a code of its own."},
        };
        for (const auto& bad : kBad) {
            s.pages->setCurrentWidget(s.t->Find<QWidget>("TabSheet4"));
            const std::size_t before = s.server.Requests().size();
            s.Choose(QString::fromLatin1(bad.entry));
            QVERIFY2(!s.t->messages.messages.empty(), bad.entry);
            const Message& shown = s.t->messages.messages.back();
            QCOMPARE(shown.kind, Message::GeneralError);
            QVERIFY2(shown.text.starts_with(bad.message), shown.text.c_str());
            QCOMPARE(s.server.Requests().size(), before);
            QCOMPARE(s.Page(), QStringLiteral("TabSheet4"));
            QCOMPARE(s.t->form->State().stationTimeZone, phoenix);
            QCOMPARE(s.list->currentText(), QStringLiteral("Phoenix, AZ (PHX)=7"));
        }
    }

    void fourLetterStations()
    {
        Station s("[STATIONS]\r\nAnchorage, AK (PANC)=9\r\n[TIMEZONES]\r\nPANC=America/Anchorage\r\n", false);
        const std::string dallas = ReadFileBytes(QStringLiteral(SKELMAR_FIXTURES "/bulletins/mav_dfw_18z_summer.txt"));
        s.t->clock.Set(EncodeDate(2026, 6, 22));

        // Another station's bulletin at the address is refused.
        s.server.Serve("/text/PANC.htm", StationPage(dallas));
        s.Choose(QStringLiteral("Anchorage, AK (PANC)=9"));
        QCOMPARE(s.Requested(), std::vector<std::string>{"/text/PANC.htm"});
        QCOMPARE(s.t->messages.messages, (std::vector<Message>{{Message::Error, std::string(kCorruptedText)}}));

        // The station's own: its header keeps all four letters.
        std::string anchorage = dallas;
        anchorage.replace(anchorage.find("KDFW"), 4, "PANC");
        s.server.Serve("/text/PANC.htm", StationPage(anchorage));
        s.t->messages.messages.clear();
        s.Choose(QStringLiteral("Anchorage, AK (PANC)=9"));
        QCOMPARE(s.t->messages.messages, std::vector<Message>{});
        QCOMPARE(s.t->form->State().stationTimeZone.Bias, 540);
        QVERIFY(s.Report().startsWith(QStringLiteral("Extended Aviation Weather Report for Anchorage, AK (PANC), at")));
    }

    void refusedConnectionWarnsTwiceThenCallsTheTextCorrupted()
    {
        Station s;
        s.ClickMap(394, 65);  // a good retrieval first
        const QString report = s.Report();
        const TDateTime baseTime = s.t->form->State().forecastBaseTime;
        const QString label = s.t->Find<QLabel>("LabelTime06")->text();
        s.t->messages.messages.clear();

        // Point the downloads at a port where nothing listens.
        const std::string closed = "http://127.0.0.1:" + std::to_string(test::ClosedPort()) + "/";
        s.PointDownloadsAt(closed, closed);
        s.Choose(QStringLiteral("Boston, MA (BOS)=5"));
        const std::string warning(kConnectWarning);
        QCOMPARE(s.t->messages.messages,
                 (std::vector<Message>{{Message::Warning, warning}, {Message::Warning, warning},
                                       {Message::Error, std::string(kCorruptedText)}}));
        QCOMPARE(s.t->form->State().bulletinLines, BulletinLines{});
        QCOMPARE(s.t->form->State().forecastBaseTime, baseTime);
        QCOMPARE(s.Report(), report);
        QCOMPARE(s.t->Find<QLabel>("LabelTime06")->text(), label);
        QCOMPARE(s.t->Find<QLabel>("LabelForecast")->text(), QStringLiteral("No forecast obtained"));
        QCOMPARE(s.t->Find<QLabel>("Image1")->pixmap().size(), QSize(1, 1));  // the old picture stays
    }

    void pictureThatIsNotAGif()
    {
        Station s;
        s.server.Serve("/graph/BOS.gif", std::string("<html>Not here</html>"));
        s.Choose(QStringLiteral("Boston, MA (BOS)=5"));
        QCOMPARE(s.t->messages.messages, (std::vector<Message>{{Message::GeneralError, "Invalid GIF signature."}}));
        QCOMPARE(s.Requested(), std::vector<std::string>{"/graph/BOS.gif"});  // the text is not fetched
        QCOMPARE(s.t->form->State().bulletinLines, BulletinLines{"No Report"});
        QCOMPARE(s.Page(), QStringLiteral("TabSheet4"));
        QVERIFY(QApplication::overrideCursor() == nullptr);

        // The window stays usable: the next retrieval succeeds.
        s.server.Serve("/graph/BOS.gif", kOnePixelGif);
        s.Choose(QStringLiteral("Boston, MA (BOS)=5"));
        QVERIFY(!s.Report().isEmpty());
        QCOMPARE(s.Page(), QStringLiteral("TabSheet1"));
    }

    void bulletinOfAnotherDay()
    {
        Station s;
        s.t->clock.Set(EncodeDate(2026, 12, 11));
        s.Choose(QStringLiteral("Boston, MA (BOS)=5"));
        QCOMPARE(s.t->messages.messages, (std::vector<Message>{{Message::Error, std::string(kDateMismatch)}}));
        QCOMPARE(s.t->form->State().forecastBaseTime, EncodeDate(2026, 12, 9));
        QCOMPARE(s.Report(), QString());  // nothing composed
        QCOMPARE(s.Page(), QStringLiteral("TabSheet1"));  // the page changes all the same
        QVERIFY(s.t->Find<QSlider>("RzTrackBar1")->isEnabled());
    }
};

QTEST_MAIN(StationSelectionTest)
#include "StationSelectionTest.moc"
