#include "app/Services.h"

#include <QDesktopServices>
#include <QDir>
#include <QFileDialog>
#include <QMessageBox>
#include <QPrintDialog>
#include <QPrinter>
#include <QStandardPaths>
#include <QUrl>

#include <array>

#include "graph/QtText.h"

namespace skelmar {

namespace {

void ShowBox(QWidget* parent, QMessageBox::Icon icon, const QString& caption, const std::string& text)
{
    QMessageBox box(icon, caption, MessageText(text), QMessageBox::Ok, parent);
    box.exec();
}

}  // namespace

void QtMessagePresenter::Warning(const std::string& text)
{
    ShowBox(parent_, QMessageBox::Warning, QStringLiteral("Warning"), text);
}

void QtMessagePresenter::Error(const std::string& text)
{
    ShowBox(parent_, QMessageBox::Critical, QStringLiteral("Error"), text);
}

void QtMessagePresenter::GeneralError(const std::string& text)
{
    ShowBox(parent_, QMessageBox::Critical, QStringLiteral("Skelmar"), text);
}

namespace {

// The save dialog's filters, in the order of its list, with their formats.
struct FileFilter {
    const char* name;
    ReportFileFormat format;
};
constexpr std::array<FileFilter, 4> kFileFilters = {{
    {"Rich Text (*.rtf)", ReportFileFormat::Rtf},
    {"Web Page (*.html *.htm)", ReportFileFormat::Html},
    {"PDF Document (*.pdf)", ReportFileFormat::Pdf},
    {"Plain Text (*.txt)", ReportFileFormat::Text},
}};

}  // namespace

std::optional<ReportDialogs::SaveTarget> QtReportDialogs::AskSaveReport(const QString& proposedName)
{
    QFileDialog dialog(parent_, QStringLiteral("Save Report As"));
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setFileMode(QFileDialog::AnyFile);
    QStringList filters;
    for (const FileFilter& filter : kFileFilters)
        filters << QString::fromLatin1(filter.name);
    dialog.setNameFilters(filters);
    // The documents folder, or the home folder where there is none.
    const QDir documents(QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation));
    dialog.setDirectory(documents.exists() ? documents : QDir::home());
    dialog.setDefaultSuffix(ReportFileSuffix(ReportFileFormat::Rtf));
    dialog.selectFile(proposedName + QLatin1Char('.') + ReportFileSuffix(ReportFileFormat::Rtf));
    // The name follows the chosen format.
    QObject::connect(&dialog, &QFileDialog::filterSelected, &dialog, [&dialog, proposedName](const QString& chosen) {
        for (const FileFilter& filter : kFileFilters) {
            if (chosen != QLatin1String(filter.name))
                continue;
            const QString suffix = ReportFileSuffix(filter.format);
            dialog.setDefaultSuffix(suffix);
            dialog.selectFile(proposedName + QLatin1Char('.') + suffix);
        }
    });
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return std::nullopt;
    const qsizetype chosen = filters.indexOf(dialog.selectedNameFilter());
    const ReportFileFormat format = kFileFilters[static_cast<std::size_t>(std::max<qsizetype>(chosen, 0))].format;
    return SaveTarget{dialog.selectedFiles().front(), format};
}

bool QtReportDialogs::AskPrint(QPrinter& printer)
{
    QPrintDialog dialog(&printer, parent_);
    dialog.setOptions(QAbstractPrintDialog::PrintToFile | QAbstractPrintDialog::PrintShowPageSize);
    return dialog.exec() == QDialog::Accepted;
}

bool DesktopUrlOpener::Open(const std::string& target)
{
    const QString text = ToQString(target);
    // A bare file name is resolved against the current directory, as the shell would.
    const QUrl url = QUrl::fromUserInput(text, QString(), QUrl::AssumeLocalFile);
    return url.isValid() && QDesktopServices::openUrl(url);
}

QtIntervalTimer::QtIntervalTimer(QObject* parent) : IntervalTimer(parent)
{
    connect(&timer_, &QTimer::timeout, this, &IntervalTimer::Fired);
}

void QtIntervalTimer::Start(int intervalMs)
{
    timer_.start(intervalMs);
}

void QtIntervalTimer::Stop()
{
    timer_.stop();
}

bool QtIntervalTimer::IsActive() const
{
    return timer_.isActive();
}

}  // namespace skelmar
