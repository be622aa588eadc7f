#pragma once
// The report outside the window: saved as a file, printed, put on the clipboard. Each works
// from the report as composed (the RTF document the view was given) and the picture of the
// "Graphic Report" page, so that a saved, printed or pasted report says what was composed.

#include <QImage>
#include <QString>

#include <string>
#include <string_view>

#include "time/Calendar.h"

class QMimeData;
class QPagedPaintDevice;

namespace skelmar {

enum class ReportFileFormat {
    Rtf,   // the composed document, byte for byte but for raw control bytes (EscapeRtfControls)
    Html,  // HtmlText of the document: a UTF-8 page
    Pdf,   // one page: the report, and the picture below it when it fits
    Text,  // PlainText of the document: UTF-8, a paragraph a line
};

// The file name suffix of a format, without the dot: "rtf", "html", "pdf", "txt".
QString ReportFileSuffix(ReportFileFormat format);

// The file name the save dialog proposes, without its suffix: the station code and the
// forecast time in Zulu, "BOS 2026-12-09 1800Z". Characters a file name cannot hold become
// "_"; without a station code the time alone.
QString ProposedReportName(std::string_view stationCode, TDateTime forecastTime);

// The file's bytes. `graph` may be null (no picture on the page).
QByteArray ReportFileBytes(ReportFileFormat format, const std::string& rtf, const QImage& graph);

// Writes ReportFileBytes to `path` by the rules of OutputFile (text/OutputFile.h): a regular
// file completely or not at all, a FIFO or device written into (a FIFO without a reader is
// refused rather than waited for), a folder refused. Throws Error("Cannot create file
// <path>: <reason>") when that fails; an earlier file at `path` then stays.
void SaveReportFile(const QString& path, ReportFileFormat format, const std::string& rtf, const QImage& graph);

// Draws the report on the one page of `device` (a printer or a PDF writer), inside its
// margins: shrunk to the page's height when it is longer; the picture below it, at its
// screen size or narrowed to the page's width, only when it fits under the report. Throws
// Error("Cannot print the report") when the device cannot be painted on (a printer that
// cannot start).
void PaintReportPage(QPagedPaintDevice& device, const std::string& rtf, const QImage& graph);

// The whole report for the clipboard: text/plain (PlainText), text/html (HtmlText), and
// text/rtf with the composed document.
QMimeData* ReportMimeData(const std::string& rtf);

}  // namespace skelmar
