#include "app/Services.h"

#include <QDesktopServices>
#include <QMessageBox>
#include <QUrl>

#include "app/QtText.h"

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
