// The "References" page: the link rule, clicks on links, the double-click and the e-mail link.

#include <QDir>
#include <QTabWidget>
#include <QTest>
#include <QTextDocument>
#include <QTextFragment>
#include <QTextBlock>

#include "GuiTestSupport.h"
#include "app/ReferenceLinks.h"
#include "app/RichTextViews.h"
#include "app/Widgets.h"

using namespace skelmar;
using namespace skelmar::testing;

namespace {

const std::string kStations = "[STATIONS]\r\nBoston, MA (BOS)=5\r\n[GENERAL]\r\nEMailAuthor=mailto:a@example.org?subject=S\r\n";

// Clicks on the first occurrence of `text` in the view.
void ClickOn(ReferencesView* view, const QString& text)
{
    const QTextCursor found = view->document()->find(text);
    QVERIFY2(!found.isNull(), qPrintable(text));
    QTextCursor inside(view->document());
    inside.setPosition(found.selectionStart() + 1);
    const QPoint at = view->cursorRect(inside).center();
    QTest::mouseClick(view->viewport(), Qt::LeftButton, Qt::NoModifier, at);
}

// Restores the current folder when the test ends.
struct CurrentFolder {
    explicit CurrentFolder(const QString& path) : saved(QDir::currentPath()) { QDir::setCurrent(path); }
    ~CurrentFolder() { QDir::setCurrent(saved); }
    QString saved;
};

}  // namespace

class ReferencesTest : public QObject {
    Q_OBJECT

private slots:
    void linkRule_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("anchor");
        QTest::addColumn<QString>("opened");
        const auto row = [](const char* name, const char* text, const char* anchor, const char* opened) {
            QTest::newRow(name) << QString::fromLatin1(text) << QString::fromLatin1(anchor) << QString::fromLatin1(opened);
        };
        row("web address without a scheme", "www.weather.gov", "http://elsewhere.example", "http://www.weather.gov");
        row("web address with http", "http://www.weather.gov/mdl", "http://elsewhere.example", "http://www.weather.gov/mdl");
        row("capital WWW is not an address", "WWW.WEATHER.GOV", "http://anchor.example", "http://anchor.example");
        row("words open the anchor", "Aviation Weather Center", "https://aviationweather.gov", "https://aviationweather.gov");
        row("www inside a word counts", "flowwwer", "x", "http://flowwwer");
        row("https is not prefixed", "https://www.weather.gov", "x", "https://www.weather.gov");
        row("relative anchor unchanged", "notes.htm", "notes.htm", "notes.htm");
        row("nothing", "", "", "");
    }

    // The rule itself, and the window handing its answer to the desktop.
    void linkRule()
    {
        QFETCH(QString, text);
        QFETCH(QString, anchor);
        QFETCH(QString, opened);
        QCOMPARE(QString::fromStdString(ReferenceLinkTarget(text.toStdString(), anchor.toStdString())), opened);

        ProgramFolder folder;
        folder.Write("Skelmar.ini", kStations);
        folder.Write("SkelmarRefs.htm", "<p>x</p>");
        FormUnderTest t(folder);
        t.Show();
        t.form->WPRichTextRefsHyperLinkEvent(text, anchor);
        QCOMPARE(t.urls.opened, std::vector<std::string>{opened.toStdString()});
    }

    void oneClickOnALinkOpensIt()
    {
        ProgramFolder folder;
        folder.Write("Skelmar.ini", kStations);
        folder.Write("SkelmarRefs.htm",
                     "<html><body><p>See <a href=\"http://anchor.example/\">www.weather.gov</a> and "
                     "<a href=\"https://aviationweather.gov/\">the Aviation <b>Weather</b> Center</a>.</p>"
                     "<p>Plain text.</p></body></html>");
        FormUnderTest t(folder);
        t.Show();
        t.Find<QTabWidget>("ecPageControl1")->setCurrentWidget(t.Find<QWidget>("TabSheet3"));
        auto* view = t.Find<ReferencesView>("WPRichTextRefs");
        QVERIFY(QTest::qWaitForWindowExposed(view));
        ClickOn(view, QStringLiteral("www.weather.gov"));
        ClickOn(view, QStringLiteral("Center"));
        ClickOn(view, QStringLiteral("Plain"));
        QCOMPARE(t.urls.opened, (std::vector<std::string>{"http://www.weather.gov", "https://aviationweather.gov/"}));
        const ReferencesView::Link link = view->LinkAt(view->cursorRect(view->document()->find(QStringLiteral("Aviation"))).center());
        QCOMPARE(link.text, QStringLiteral("the Aviation Weather Center"));
    }

    void doubleClickLoadsTheSecondDocumentFromTheCurrentFolder()
    {
        ProgramFolder folder;
        folder.Write("Skelmar.ini", kStations);
        folder.Write("SkelmarRefs.htm", "<p>First document</p>");
        ProgramFolder current;
        CurrentFolder inCurrent(QString::fromStdString(current.Path().string()));
        FormUnderTest t(folder);
        t.Show();
        auto* view = t.Find<ReferencesView>("WPRichTextRefs");

        // Not found there (it is not looked for beside the program): the view stays empty.
        folder.Write("DornveilRefs.htm", "<p>Beside the program</p>");
        QTest::mouseDClick(view->viewport(), Qt::LeftButton, Qt::NoModifier, QPoint(5, 5));
        QCOMPARE(view->toPlainText(), QString());
        QCOMPARE(t.messages.messages,
                 (std::vector<Message>{{Message::GeneralError, "Cannot open file DornveilRefs.htm."}}));

        current.Write("DornveilRefs.htm", "<p>Second document</p>");
        t.form->WPRichTextRefsDblClick();
        QCOMPARE(view->toPlainText(), QStringLiteral("Second document"));
        t.form->WPRichTextRefsDblClick();
        QCOMPARE(view->toPlainText(), QStringLiteral("Second document"));
        QCOMPARE(t.messages.messages.size(), std::size_t{1});
    }

    void shippedDocumentShowsItsJpegPicture()
    {
        ProgramFolder folder;
        folder.CopyShippedFiles();
        FormUnderTest t(folder);
        t.Show();
        QVERIFY(t.messages.messages.empty());
        auto* view = t.Find<ReferencesView>("WPRichTextRefs");
        QStringList jpegs;
        for (QTextBlock block = view->document()->begin(); block.isValid(); block = block.next())
            for (auto it = block.begin(); !it.atEnd(); ++it)
                if (it.fragment().charFormat().isImageFormat()) {
                    const QString name = it.fragment().charFormat().toImageFormat().name();
                    if (name.endsWith(QStringLiteral(".jpg"), Qt::CaseInsensitive))
                        jpegs << name;
                }
        QVERIFY(!jpegs.isEmpty());
        for (const QString& name : jpegs) {
            const QImage image = view->document()->resource(QTextDocument::ImageResource, QUrl(name)).value<QImage>();
            QVERIFY2(!image.isNull() && image.width() > 0, qPrintable(name));
        }
    }

    void footerCoversNothing()
    {
        ProgramFolder folder;
        folder.Write("Skelmar.ini", kStations);
        folder.Write("SkelmarRefs.htm", "<p>x</p>");
        FormUnderTest t(folder);
        t.Show();
        auto* page = t.Find<QWidget>("PanelBeneathRefs");
        const QRect text = t.Find<ReferencesView>("WPRichTextRefs")->geometry();
        auto* link = t.Find<LinkLabel>("RzURLLabel1");
        auto* version = t.Find<QLabel>("LabelVersion");
        QCOMPARE(version->text(), QStringLiteral("Skelmar " SKELMAR_PROJECT_VERSION));
        // Below the references text, within the page, side by side, and each wide and tall
        // enough for its caption.
        for (QLabel* label : {static_cast<QLabel*>(link), version}) {
            const QRect box = label->geometry();
            QVERIFY2(!box.intersects(text), qPrintable(label->objectName()));
            QVERIFY2(page->rect().contains(box), qPrintable(label->objectName()));
            const QSize needed = label->fontMetrics().size(0, label->text());
            QVERIFY2(box.width() >= needed.width() && box.height() >= needed.height(), qPrintable(label->objectName()));
        }
        QVERIFY(!link->geometry().intersects(version->geometry()));
        QVERIFY(version->geometry().right() <= text.right());
    }

    void emailLinkTurnsPurpleOnceUsed()
    {
        ProgramFolder folder;
        folder.Write("Skelmar.ini", kStations);
        folder.Write("SkelmarRefs.htm", "<p>x</p>");
        FormUnderTest t(folder);
        t.Show();
        auto* label = t.Find<LinkLabel>("RzURLLabel1");
        const QColor before = label->palette().color(QPalette::WindowText);

        t.urls.accept = false;  // the desktop refuses: nothing changes
        QTest::mouseClick(label, Qt::LeftButton);
        QCOMPARE(t.urls.opened, (std::vector<std::string>{"mailto:a@example.org?subject=S"}));
        QVERIFY(!label->IsUsed());
        QCOMPARE(label->palette().color(QPalette::WindowText), before);

        t.urls.accept = true;
        QTest::mouseClick(label, Qt::LeftButton);
        QVERIFY(label->IsUsed());
        QCOMPARE(label->palette().color(QPalette::WindowText), QColor(128, 0, 128));
    }
};

QTEST_MAIN(ReferencesTest)
#include "ReferencesTest.moc"
