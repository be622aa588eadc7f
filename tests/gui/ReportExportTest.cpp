// The report view's commands: Save As..., Print... and Copy, from the context menu's actions
// and their shortcuts.

#include <QAction>
#include <QClipboard>
#include <QFile>
#include <QGuiApplication>
#include <QLabel>
#include <QMimeData>
#include <QRegularExpression>
#include <QTest>
#include <QTextCursor>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>

#include "GuiTestSupport.h"
#include "app/ReportExport.h"
#include "app/RichTextViews.h"
#include "richtext/RichDocument.h"
#include "richtext/RtfReader.h"

using namespace skelmar;
using namespace skelmar::testing;

namespace {

// Boston retrieved without a picture server: a report and the drawn graph.
struct Composed {
    Composed() : s("", false)
    {
        s.Choose(QStringLiteral("Boston, MA (BOS)=5"));
        view = s.t->Find<ReportView>("WPRichText1");
        s.t->form->activateWindow();
        view->setFocus();
        QVERIFY(QTest::qWaitForWindowActive(s.t->form.get()));
        QVERIFY(!s.t->form->ComposedReport().empty());
    }
    QString Path(const char* name) const { return QString::fromStdString((s.folder.Path() / name).string()); }
    const std::string& Rtf() const { return s.t->form->ComposedReport(); }

    Station s;
    ReportView* view = nullptr;
};

// Pages of a PDF file: its page objects, not the page tree ("/Type /Pages").
int PdfPages(const QByteArray& pdf)
{
    static const QRegularExpression page(QStringLiteral("/Type\\s*/Page(?![a-zA-Z])"));
    return static_cast<int>(QString::fromLatin1(pdf).count(page));
}

}  // namespace

class ReportExportTest : public QObject {
    Q_OBJECT

private slots:
    void commandsOfTheContextMenu()
    {
        Composed c;
        const QList<QAction*> actions = c.view->actions();
        QCOMPARE(actions.size(), 3);
        QCOMPARE(actions[0]->text(), QStringLiteral("&Copy"));
        QCOMPARE(actions[0]->shortcut(), QKeySequence(QKeySequence::Copy));
        QCOMPARE(actions[1]->text(), QStringLiteral("Save &As..."));
        QCOMPARE(actions[1]->shortcut(), QKeySequence(QStringLiteral("Ctrl+S")));
        QCOMPARE(actions[2]->text(), QStringLiteral("&Print..."));
        QCOMPARE(actions[2]->shortcut(), QKeySequence(QStringLiteral("Ctrl+P")));
    }

    void saveInEachFormat()
    {
        Composed c;
        const std::string& rtf = c.Rtf();
        const QImage graph = c.s.t->Find<QLabel>("Image1")->pixmap().toImage();
        struct Expectation {
            int line;
            ReportFileFormat format;
            const char* name;
            std::string bytes;  // what the file must hold; empty for the PDF file
        };
        const Expectation kExpect[] = {
            {__LINE__, ReportFileFormat::Rtf, "r.rtf", rtf},  // byte for byte as composed
            {__LINE__, ReportFileFormat::Html, "r.html", HtmlText(ReadRtf(rtf))},
            {__LINE__, ReportFileFormat::Text, "r.txt", PlainText(ReadRtf(rtf))},
            {__LINE__, ReportFileFormat::Pdf, "r.pdf", ""},
        };
        for (const Expectation& e : kExpect) {
            qInfo() << "row of line" << e.line;
            c.s.t->dialogs.saveTarget = ReportDialogs::SaveTarget{c.Path(e.name), e.format};
            QTest::keyClick(c.view, Qt::Key_S, Qt::ControlModifier);
            QVERIFY(!c.s.t->dialogs.proposedNames.empty());
            QCOMPARE(c.s.t->dialogs.proposedNames.back(), QStringLiteral("BOS 2026-12-09 1800Z"));
            const std::string saved = ReadFileBytes(c.Path(e.name));
            if (e.format != ReportFileFormat::Pdf) {
                QCOMPARE(saved, e.bytes);
                continue;
            }
            const QByteArray pdf = QByteArray::fromStdString(saved);
            QVERIFY(pdf.startsWith("%PDF"));
            QCOMPARE(PdfPages(pdf), 1);
            QVERIFY(pdf.contains("/Subtype /Image"));  // the graph fits below the report
        }
        QVERIFY(c.Rtf().find("The temperature will be 31\xB0 F.") != std::string::npos);
        QCOMPARE(c.s.t->messages.messages, std::vector<Message>{});

        // A report longer than a page still makes one page, without the graph.
        std::string longRtf = rtf.substr(0, rtf.size() - 1);
        for (int i = 0; i < 120; ++i)
            longRtf += "\\par Line of a long report.";
        longRtf += '}';
        const QByteArray longPdf = ReportFileBytes(ReportFileFormat::Pdf, longRtf, graph);
        QCOMPARE(PdfPages(longPdf), 1);
        QVERIFY(!longPdf.contains("/Subtype /Image"));

        // A control character that a bulletin's cell carries is no control in a saved text
        // file, as on the command line: the undefined byte 0x9D would be U+009D.
        const QByteArray text = ReportFileBytes(ReportFileFormat::Text, "{\\rtf1\\ansi\\ansicpg1252 T 3\x9D F}", graph);
        QVERIFY2(text.contains("T 3? F") && !text.contains("\xC2\x9D"), text.constData());
    }

    void savedCompletelyOrNotAtAll()
    {
        Composed c;
        const QString path = c.Path("r.rtf");
        c.s.folder.Write("r.rtf", "an older file");
        c.s.t->dialogs.saveTarget = ReportDialogs::SaveTarget{path, ReportFileFormat::Rtf};
        c.s.t->form->WPRichText1SaveAs();
        QCOMPARE(ReadFileBytes(path), c.Rtf());

        // A folder that does not exist: the error, and no file.
        const QString missing = c.Path("no folder/r.rtf");
        c.s.t->dialogs.saveTarget = ReportDialogs::SaveTarget{missing, ReportFileFormat::Pdf};
        c.s.t->form->WPRichText1SaveAs();
        QCOMPARE(c.s.t->messages.messages,
                 (std::vector<Message>{{Message::GeneralError, "Cannot create file " + missing.toStdString() +
                                                                   ": No such file or directory."}}));
        QVERIFY(!QFile::exists(missing));

        // A FIFO is written into and stays a FIFO; without a reader the window does not hang
        // on it but says so.
        const std::filesystem::path fifo = c.s.folder.Path() / "fifo.rtf";
        QCOMPARE(::mkfifo(fifo.c_str(), 0600), 0);
        c.s.t->messages.messages.clear();
        c.s.t->dialogs.saveTarget = ReportDialogs::SaveTarget{QString::fromStdString(fifo.string()),
                                                              ReportFileFormat::Rtf};
        c.s.t->form->WPRichText1SaveAs();
        QCOMPARE(c.s.t->messages.messages,
                 (std::vector<Message>{{Message::GeneralError,
                                        "Cannot create file " + fifo.string() + ": no process reads from it."}}));
        const int reader = ::open(fifo.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
        QVERIFY(reader >= 0);
        c.s.t->messages.messages.clear();
        c.s.t->form->WPRichText1SaveAs();
        QCOMPARE(c.s.t->messages.messages, std::vector<Message>{});
        std::string received;
        char chunk[4096];
        for (ssize_t n; (n = ::read(reader, chunk, sizeof chunk)) > 0;)
            received.append(chunk, static_cast<std::size_t>(n));
        ::close(reader);
        QCOMPARE(received, c.Rtf());
        QVERIFY(std::filesystem::is_fifo(fifo));

        // Cancelled: nothing written.
        c.s.t->dialogs.saveTarget.reset();
        c.s.folder.Write("r.rtf", "an older file");
        c.s.t->form->WPRichText1SaveAs();
        QCOMPARE(ReadFileBytes(path), std::string("an older file"));
    }

    void printOnePage()
    {
        Composed c;
        c.s.t->dialogs.printToPdf = c.Path("printed.pdf");
        QTest::keyClick(c.view, Qt::Key_P, Qt::ControlModifier);
        QCOMPARE(c.s.t->dialogs.printAsked, 1);
        const QByteArray pdf = QByteArray::fromStdString(ReadFileBytes(c.Path("printed.pdf")));
        QVERIFY(pdf.startsWith("%PDF"));
        QCOMPARE(PdfPages(pdf), 1);
        QVERIFY(pdf.contains("/Subtype /Image"));

        // Cancelled: nothing printed.
        QVERIFY(QFile::remove(c.Path("printed.pdf")));
        c.s.t->dialogs.printToPdf.clear();
        c.s.t->form->WPRichText1Print();
        QCOMPARE(c.s.t->dialogs.printAsked, 2);
        QVERIFY(!QFile::exists(c.Path("printed.pdf")));
        QCOMPARE(c.s.t->messages.messages, std::vector<Message>{});
    }

    void copyTheWholeReportOrTheSelection()
    {
        Composed c;
        QClipboard* clipboard = QGuiApplication::clipboard();
        clipboard->clear();
        QTest::keyClick(c.view, Qt::Key_C, Qt::ControlModifier);
        const QMimeData* whole = clipboard->mimeData();
        QVERIFY(whole != nullptr);
        const RichDocument document = ReadRtf(c.Rtf());
        QCOMPARE(whole->text(), QString::fromStdString(PlainText(document)));
        QCOMPARE(whole->html(), QString::fromStdString(HtmlText(document)));
        QCOMPARE(whole->data(QStringLiteral("text/rtf")).toStdString(), c.Rtf());

        // A selection: that text alone, plain and rich.
        QTextCursor cursor(c.view->document());
        cursor.movePosition(QTextCursor::NextWord, QTextCursor::KeepAnchor);
        c.view->setTextCursor(cursor);
        c.s.t->form->WPRichText1Copy();
        const QMimeData* selection = clipboard->mimeData();
        QCOMPARE(selection->text(), QStringLiteral("Extended "));
        QVERIFY(selection->hasHtml());
        QVERIFY(selection->html().contains(QStringLiteral("Extended")));
        QVERIFY(!selection->hasFormat(QStringLiteral("text/rtf")));
    }

    void nothingToExportBeforeAReport()
    {
        Station s("", false);
        s.t->dialogs.saveTarget = ReportDialogs::SaveTarget{QStringLiteral("/nowhere/r.rtf"), ReportFileFormat::Rtf};
        s.t->form->WPRichText1SaveAs();
        s.t->form->WPRichText1Print();
        QVERIFY(s.t->dialogs.proposedNames.empty());
        QCOMPARE(s.t->dialogs.printAsked, 0);
        QVERIFY(s.t->messages.messages.empty());
    }
};

QTEST_MAIN(ReportExportTest)
#include "ReportExportTest.moc"
