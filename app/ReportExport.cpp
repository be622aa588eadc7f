#include "app/ReportExport.h"

#include <QAbstractTextDocumentLayout>
#include <QBuffer>
#include <QMimeData>
#include <QPagedPaintDevice>
#include <QPainter>
#include <QPdfWriter>
#include <QFile>
#include <QTextDocument>

#include <algorithm>

#include "app/RichTextViews.h"
#include "graph/QtText.h"
#include "richtext/ReportDocument.h"
#include "text/Error.h"
#include "text/OutputFile.h"
#include "time/TimeFormat.h"

namespace skelmar {

namespace {

// The picture's pixels are screen pixels; on paper it keeps its screen size.
constexpr double kScreenDotsPerInch = 96;
// Between the report and the picture below it, in inches.
constexpr double kGapInches = 0.25;

QByteArray Bytes(const std::string& text)
{
    return QByteArray(text.data(), static_cast<qsizetype>(text.size()));
}

QByteArray PdfBytes(const std::string& rtf, const QImage& graph)
{
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    {
        QPdfWriter writer(&buffer);
        writer.setResolution(300);
        // A US program: Letter, with the margins of a printed page.
        writer.setPageSize(QPageSize(QPageSize::Letter));
        writer.setPageMargins(QMarginsF(15, 15, 15, 15), QPageLayout::Millimeter);
        PaintReportPage(writer, rtf, graph);
    }  // the writer finishes the file when it goes
    return buffer.data();
}

}  // namespace

QString ReportFileSuffix(ReportFileFormat format)
{
    switch (format) {
    case ReportFileFormat::Rtf: return QStringLiteral("rtf");
    case ReportFileFormat::Html: return QStringLiteral("html");
    case ReportFileFormat::Pdf: return QStringLiteral("pdf");
    case ReportFileFormat::Text: return QStringLiteral("txt");
    }
    return {};
}

QString ProposedReportName(std::string_view stationCode, TDateTime forecastTime)
{
    // The default settings: digits whatever the regional date format.
    const std::string time = FormatDateTime("yyyy-mm-dd hhnn", forecastTime, FormatSettings{}) + "Z";
    QString code = ToQString(stationCode).trimmed();
    for (QChar& c : code)
        if (c == QLatin1Char('/') || c == QLatin1Char('\\') || c.category() == QChar::Other_Control)
            c = QLatin1Char('_');
    return code.isEmpty() ? ToQString(time) : code + QLatin1Char(' ') + ToQString(time);
}

QByteArray ReportFileBytes(ReportFileFormat format, const std::string& rtf, const QImage& graph)
{
    switch (format) {
    case ReportFileFormat::Rtf: return Bytes(ReportDocumentBytes(ReportDocumentFormat::Rtf, rtf));
    case ReportFileFormat::Html: return Bytes(ReportDocumentBytes(ReportDocumentFormat::Html, rtf));
    case ReportFileFormat::Pdf: return PdfBytes(rtf, graph);
    case ReportFileFormat::Text: return Bytes(ReportDocumentBytes(ReportDocumentFormat::Text, rtf));
    }
    return {};
}

void SaveReportFile(const QString& path, ReportFileFormat format, const std::string& rtf, const QImage& graph)
{
    const QByteArray bytes = ReportFileBytes(format, rtf, graph);
    // The window must not hang on a FIFO that nobody reads.
    WriteOutputFile(QFile::encodeName(path).toStdString(), std::string_view(bytes.constData(), bytes.size()),
                    OutputOptions{.waitForReader = false});
}

void PaintReportPage(QPagedPaintDevice& device, const std::string& rtf, const QImage& graph)
{
    QTextDocument document;
    document.setDefaultFont(QFont(QStringLiteral("Arial"), 11));
    document.setDocumentMargin(0);
    document.documentLayout()->setPaintDevice(&device);
    LoadRtfIntoDocument(document, rtf);

    // Painter coordinates start at the top left of the area inside the margins.
    const int resolution = device.logicalDpiX();
    const QRectF page(QPointF(0, 0), device.pageLayout().paintRectPixels(resolution).size());
    document.setTextWidth(page.width());
    // A report longer than the page is laid out wider and drawn smaller: it then fits,
    // since a wider layout is never taller.
    double scale = 1;
    if (document.size().height() > page.height()) {
        scale = page.height() / document.size().height();
        document.setTextWidth(page.width() / scale);
    }

    QPainter painter(&device);
    if (!painter.isActive())
        throw Error("Cannot print the report");
    painter.save();
    painter.scale(scale, scale);
    document.drawContents(&painter);
    painter.restore();

    if (graph.isNull())
        return;
    const double dotsPerScreenPixel = resolution / kScreenDotsPerInch;
    QSizeF size = QSizeF(graph.size()) * dotsPerScreenPixel;
    if (size.width() > page.width())
        size *= page.width() / size.width();
    const double top = document.size().height() * scale + kGapInches * resolution;
    if (top + size.height() <= page.height())
        painter.drawImage(QRectF(QPointF((page.width() - size.width()) / 2, top), size), graph);
}

QMimeData* ReportMimeData(const std::string& rtf)
{
    // The same bytes as a saved file of each kind: no raw control character of a bulletin's
    // cell reaches another program.
    auto* data = new QMimeData;
    data->setText(QString::fromStdString(ReportDocumentBytes(ReportDocumentFormat::Text, rtf)));
    data->setHtml(QString::fromStdString(ReportDocumentBytes(ReportDocumentFormat::Html, rtf)));
    data->setData(QStringLiteral("text/rtf"), Bytes(ReportDocumentBytes(ReportDocumentFormat::Rtf, rtf)));
    return data;
}

}  // namespace skelmar
