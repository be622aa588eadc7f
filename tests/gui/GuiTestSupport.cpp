#include "GuiTestSupport.h"

#include <QFile>
#include <QLabel>
#include <QPlainTextEdit>
#include <QSlider>
#include <QPrinter>
#include <QSignalSpy>
#include <QTabWidget>
#include <QTest>

#include "app/RichTextViews.h"
#include "app/Widgets.h"
#include "time/RegistryTimeZones.h"

namespace skelmar::testing {

bool RecordingDialogs::AskPrint(QPrinter& printer)
{
    ++printAsked;
    if (printToPdf.isEmpty())
        return false;
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(printToPdf);
    return true;
}

void ProgramFolder::Write(const std::string& name, const std::string& bytes) const
{
    QFile file(dir_.filePath(QString::fromStdString(name)));
    QVERIFY2(file.open(QIODevice::WriteOnly | QIODevice::Truncate), qPrintable(file.fileName()));
    QCOMPARE(file.write(bytes.data(), static_cast<qint64>(bytes.size())), static_cast<qint64>(bytes.size()));
}

void ProgramFolder::CopyShippedFiles() const
{
    const QDir resources(QStringLiteral(SKELMAR_RESOURCES));
    for (const char* name : {"Skelmar.ini", "SkelmarRefs.htm", "DornveilRefs.htm", "refs-flight-categories.jpg",
                             "refs-sky-cover.gif"}) {
        const QString to = dir_.filePath(QString::fromLatin1(name));
        QFile::remove(to);
        QVERIFY2(QFile::copy(resources.filePath(QString::fromLatin1(name)), to), name);
    }
}

FormUnderTest::FormUnderTest(const ProgramFolder& folder, HttpLimits limits, QSettings* settings) : http(limits)
{
    FormServices services;
    services.dataDir = folder.Path();
    services.messages = &messages;
    services.dialogs = &dialogs;
    services.urls = &urls;
    services.timer1 = &timer;
    services.makeZoneList = [] { return std::make_unique<TVeskRegistryTimeZones>(); };
    services.http = &http;
    services.connection = &connection;
    services.clock = &clock;
    picture = folder.Path() / "Temp.gif";
    services.picturePath = [this] { return picturePath ? picturePath() : picture; };
    services.settings = settings;
    form = std::make_unique<TForm1>(std::move(services));
}

void FormUnderTest::Show()
{
    form->show();
    QVERIFY(QTest::qWaitForWindowExposed(form.get()));
}

bool FormUnderTest::WaitForRetrieval(int timeoutMs) const
{
    return QTest::qWaitFor([this] { return !form->RetrievalRunning(); }, timeoutMs);
}

const std::string kOnePixelGif("GIF89a\x01\x00\x01\x00\x80\x00\x00\xff\x00\x00\x00\x00\x00!\xf9\x04\x00\x00\x00\x00\x00,"
                               "\x00\x00\x00\x00\x01\x00\x01\x00\x00\x02\x02\x44\x01\x00;",
                               43);

std::string ReadFileBytes(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll().toStdString() : std::string();
}

std::string StationPage(const std::string& bulletin)
{
    return "<html><head><title>Guidance</title></head><body>\n<PRE>\n" + bulletin + "</PRE>\n</body></html>\n";
}

Station::Station(const std::string& extraConfig, bool pictureServer, HttpLimits limits, QSettings* settings)
{
    folder.CopyShippedFiles();
    shippedConfig = ReadFileBytes(QString::fromStdString((folder.Path() / "Skelmar.ini").string()));
    PointDownloadsAt(server.Url("/text/K"), pictureServer ? server.Url("/graph/") : std::string(), extraConfig);
    ServeBoston();
    t = std::make_unique<FormUnderTest>(folder, limits, settings);
    t->Show();
    list = t->Find<StationComboBox>("ecComboBoxWxLoc");
    pages = t->Find<QTabWidget>("ecPageControl1");
}

void Station::ServeBoston()
{
    server.Serve("/text/KBOS.htm", StationPage(ReadFileBytes(QStringLiteral(SKELMAR_FIXTURES "/bulletins/ngm_bos_winter.txt"))));
    server.Serve("/graph/BOS.gif", kOnePixelGif);
}

void Station::PointDownloadsAt(const std::string& textServer, const std::string& graphServer,
                               const std::string& extraConfig)
{
    // A four-letter code is a whole identifier: its address leaves out the "K" of the others.
    const std::string icaoServer =
        textServer.ends_with("/K") ? textServer.substr(0, textServer.size() - 1) : textServer;
    folder.Write("Skelmar.ini", "[INTERNET]\r\nC_ZOZI14_TEXTSERVER=" + textServer +
                                    "\r\nC_ZOZI14_TEXTSERVER_ICAO=" + icaoServer +
                                    "\r\nC_FOUS_TEXT_EXT=.htm\r\nC_FOUS_TEXT_HTML=PRE\r\n"
                                    "C_ZOZI14_GRAPHSERVER=" + graphServer +
                                    "\r\nC_FOUS_GRAPH_EXT=.gif\r\n" + extraConfig + shippedConfig);
}

void Station::Choose(const QString& entry, bool wait)
{
    const int index = list->findText(entry);
    QVERIFY2(index >= 0, qPrintable(entry));
    list->setCurrentIndex(index - 1);
    list->setFocus();
    // The pick itself; a refused station puts the list back at once, so its index is no proof.
    QSignalSpy picked(list, &QComboBox::activated);
    QTest::keyClick(list, Qt::Key_Down);
    QCOMPARE(picked.count(), 1);
    QCOMPARE(picked.front().front().toInt(), index);
    if (wait)
        QVERIFY(t->WaitForRetrieval());
}

void Station::ClickMap(int x, int y, bool wait) const
{
    QTest::mouseClick(t->Find<QLabel>("ImageUSPickMap"), Qt::LeftButton, Qt::NoModifier, QPoint(x, y));
    if (wait)
        QVERIFY(t->WaitForRetrieval());
}

QString Station::Page() const
{
    return pages->currentWidget()->objectName();
}

QString Station::Report() const
{
    return t->Find<ReportView>("WPRichText1")->toPlainText();
}

std::vector<std::string> Station::Requested() const
{
    std::vector<std::string> paths;
    for (const auto& request : server.Requests())
        paths.push_back(request.path);
    return paths;
}

Snapshot Snapshot::Of(const Station& s)
{
    Snapshot shot;
    const FormUnderTest& t = *s.t;
    shot.lines = t.form->State().bulletinLines;
    QStringList lines;
    for (const std::string& line : shot.lines)
        lines << QString::fromLatin1(line.data(), static_cast<qsizetype>(line.size()));
    shot.memoShowsLines = t.Find<QPlainTextEdit>("Memo1")->toPlainText() == lines.join(QLatin1Char('\n'));
    shot.baseTime = t.form->State().forecastBaseTime;
    shot.station = s.list->currentText();
    shot.report = s.Report();
    for (int hours = 6; hours <= 60; hours += 6)
        shot.timeLabels << t.Find<QLabel>(qPrintable(QStringLiteral("LabelTime%1").arg(hours, 2, 10, QLatin1Char('0'))))->text();
    shot.forecastLabel = t.Find<QLabel>("LabelForecast")->text();
    shot.placeTime = t.Find<RotatedLabel>("RzLabelForecastPlaceTime")->text();
    shot.picture = t.Find<QLabel>("Image1")->pixmap().toImage().convertToFormat(QImage::Format_ARGB32);
    shot.page = s.Page();
    shot.trackBarEnabled = t.Find<QSlider>("RzTrackBar1")->isEnabled();
    return shot;
}

char* toString(const Snapshot& shot)
{
    QStringList lines;
    for (const std::string& line : shot.lines)
        lines << QString::fromLatin1(line.data(), static_cast<qsizetype>(line.size()));
    return qstrdup(qPrintable(QStringLiteral("\n  lines [%1] memo %2\n  base %3\n  station %4\n  report %5\n  labels %6\n"
                                             "  forecast %7 / %8\n  picture %9x%10 page %11 track bar %12")
                                  .arg(lines.join(QStringLiteral(" | ")).left(80))
                                  .arg(shot.memoShowsLines)
                                  .arg(shot.baseTime, 0, 'f', 4)
                                  .arg(shot.station, shot.report.left(100), shot.timeLabels.join(QStringLiteral(", ")),
                                       shot.forecastLabel, shot.placeTime)
                                  .arg(shot.picture.width())
                                  .arg(shot.picture.height())
                                  .arg(shot.page)
                                  .arg(shot.trackBarEnabled)));
}

}  // namespace skelmar::testing
