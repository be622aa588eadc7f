// Searching the station list by typing, with the shipped list of every station of the guidance.

#include <QAbstractItemView>
#include <QListView>
#include <QSignalSpy>
#include <QTest>

#include "GuiTestSupport.h"
#include "app/StationSearch.h"
#include "app/Widgets.h"

using namespace skelmar;
using namespace skelmar::testing;

namespace {

// The entries the list shows.
QStringList Shown(const StationComboBox* list)
{
    const auto* view = qobject_cast<const QListView*>(list->view());
    QStringList shown;
    for (int row = 0; row < list->count(); ++row)
        if (!view->isRowHidden(row))
            shown << list->itemText(row);
    return shown;
}

// Types `text` as the user does: the first key on the closed list, the rest on the open one.
void Type(StationComboBox* list, const QString& text)
{
    for (const QChar c : text) {
        QWidget* target = list->view()->isVisible() ? static_cast<QWidget*>(list->view()) : list;
        QTest::keyClick(target, c.toLatin1());
    }
}

}  // namespace

class StationSearchTest : public QObject {
    Q_OBJECT

private slots:
    void searchKeys()
    {
        QCOMPARE(StationSearchKey(QStringLiteral("Garden City, KS (GCK)=6")),
                 QStringLiteral("garden city, ks (gck) kgck kansas"));
        QCOMPARE(StationSearchKey(QStringLiteral("Anchorage, AK (PANC)=9")),
                 QStringLiteral("anchorage, ak (panc) panc alaska"));
        QCOMPARE(StationSearchKey(QStringLiteral("Odd=5")), QStringLiteral("odd"));  // the zone index is not searched
    }

    void typingNarrowsTheListAtEachKey_data()
    {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("wanted");
        QTest::addColumn<int>("most");  // at most this many entries shown
        QTest::newRow("code") << "gck" << "Garden City, KS (GCK)=6" << 1;
        QTest::newRow("name") << "garden" << "Garden City, KS (GCK)=6" << 5;
        QTest::newRow("icao") << "KGCK" << "Garden City, KS (GCK)=6" << 1;
        QTest::newRow("state") << "Kansas" << "Garden City, KS (GCK)=6" << 80;
        QTest::newRow("inside a word") << "ICKINS" << "Dickinson, ND (DIK)=7" << 2;
        QTest::newRow("four-letter code") << "panc" << "Anchorage, AK (PANC)=9" << 1;
        QTest::newRow("state of a territory") << "puerto" << "San Juan, PR (TJSJ)=4" << 10;
    }

    void typingNarrowsTheListAtEachKey()
    {
        QFETCH(QString, typed);
        QFETCH(QString, wanted);
        QFETCH(int, most);
        Station s;
        const int all = s.list->count();
        QVERIFY(all > 2000);
        int before = all;
        for (qsizetype n = 1; n <= typed.size(); ++n) {
            Type(s.list, typed.mid(n - 1, 1));
            QCOMPARE(s.list->SearchText(), typed.left(n));
            const QStringList shown = Shown(s.list);
            QVERIFY(shown.size() <= before);  // each key narrows or keeps
            for (const QString& entry : shown)
                QVERIFY2(StationSearchKey(entry).contains(typed.left(n).toLower()), qPrintable(entry));
            before = static_cast<int>(shown.size());
        }
        QVERIFY(s.list->view()->isVisible());
        const QStringList shown = Shown(s.list);
        QVERIFY2(shown.contains(wanted), qPrintable(shown.join(QLatin1Char('|'))));
        QVERIFY2(shown.size() <= most, qPrintable(QString::number(shown.size())));
        if (typed == QLatin1String("Kansas"))  // every station of the state, and Kansas City, MO
            QVERIFY(shown.contains(QStringLiteral("Kansas City, MO (MCI)=6")) && shown.size() > 20);
    }

    void enterPicksAndRunsTheStationChange()
    {
        Station s;
        QSignalSpy activated(s.list, &QComboBox::activated);
        s.list->setFocus();
        Type(s.list, QStringLiteral("gck"));
        QTest::keyClick(s.list->view(), Qt::Key_Return);
        QCOMPARE(activated.count(), 1);
        QVERIFY(!s.list->view()->isVisible());
        QCOMPARE(s.list->currentText(), QStringLiteral("Garden City, KS (GCK)=6"));
        QCOMPARE(s.list->SearchText(), QString());
        QCOMPARE(Shown(s.list).size(), s.list->count());  // the whole list again
        // The same change as a pick from the list or the map: Garden City is not served here.
        QVERIFY(s.t->WaitForRetrieval());
        QCOMPARE(s.Requested(), (std::vector<std::string>{"/graph/GCK.gif", "/text/KGCK.htm"}));
        QCOMPARE(s.Page(), QStringLiteral("TabSheet1"));

        // Down moves among the matches only; Enter takes the highlighted one.
        Type(s.list, QStringLiteral("bosto"));
        QTest::keyClick(s.list->view(), Qt::Key_Return);
        QCOMPARE(s.list->currentText(), QStringLiteral("Boston, MA (BOS)=5"));
        QVERIFY(s.t->WaitForRetrieval());
        QVERIFY(s.Report().startsWith(QStringLiteral("Extended Aviation Weather Report for Boston, MA (BOS)")));

        // A click on a match picks it.
        Type(s.list, QStringLiteral("dicki"));
        const QStringList shown = Shown(s.list);
        const int row = s.list->findText(QStringLiteral("Dickinson, ND (DIK)=7"));
        QVERIFY(shown.contains(s.list->itemText(row)));
        const QRect rect = s.list->view()->visualRect(s.list->model()->index(row, 0));
        QTest::mouseClick(s.list->view()->viewport(), Qt::LeftButton, {}, rect.center());
        QVERIFY(!s.list->view()->isVisible());
        QCOMPARE(s.list->currentText(), QStringLiteral("Dickinson, ND (DIK)=7"));
        QVERIFY(s.t->WaitForRetrieval());
        QCOMPARE(s.Requested().back(), std::string("/text/KDIK.htm"));
    }

    void escapeAndBackspace()
    {
        Station s;
        s.Choose(QStringLiteral("Boston, MA (BOS)=5"));
        const std::size_t requests = s.server.Requests().size();
        Type(s.list, QStringLiteral("denx"));
        QVERIFY(Shown(s.list).isEmpty());
        QTest::keyClick(s.list->view(), Qt::Key_Backspace);  // "den" again
        QVERIFY(Shown(s.list).contains(QStringLiteral("Denver, CO (DEN)=7")));
        QTest::keyClick(s.list->view(), Qt::Key_Escape);
        QVERIFY(!s.list->view()->isVisible());
        QCOMPARE(s.list->currentText(), QStringLiteral("Boston, MA (BOS)=5"));  // as it was
        QCOMPARE(s.list->SearchText(), QString());
        QCOMPARE(Shown(s.list).size(), s.list->count());
        QCOMPARE(s.server.Requests().size(), requests);
    }
};

QTEST_MAIN(StationSearchTest)
#include "StationSearchTest.moc"
