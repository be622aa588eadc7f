#pragma once
// What the window needs from the desktop, behind small interfaces so that tests can stand in:
// the message boxes, the report's file and print dialogs, opening a link, and the one-shot
// timer of the track bar.

#include <QObject>
#include <QString>
#include <QTimer>

#include <optional>
#include <string>

#include "app/ReportExport.h"

class QPrinter;
class QWidget;

namespace skelmar {

class MessagePresenter {
public:
    virtual ~MessagePresenter() = default;
    // Modal boxes with one "OK" button; texts are the core's (code page 1252, CR LF).
    virtual void Warning(const std::string& text) = 0;  // caption "Warning"
    virtual void Error(const std::string& text) = 0;    // caption "Error"
    // The general error box: caption "Skelmar", stop icon; `text` is shown as it stands.
    virtual void GeneralError(const std::string& text) = 0;
};

class QtMessagePresenter final : public MessagePresenter {
public:
    explicit QtMessagePresenter(QWidget* parent) : parent_(parent) {}
    void SetParent(QWidget* parent) { parent_ = parent; }
    void Warning(const std::string& text) override;
    void Error(const std::string& text) override;
    void GeneralError(const std::string& text) override;

private:
    QWidget* parent_;
};

// The dialogs of the report view's Save As... and Print....
class ReportDialogs {
public:
    virtual ~ReportDialogs() = default;
    struct SaveTarget {
        QString path;
        ReportFileFormat format;
    };
    // Asks where to save the report and in which format, proposing the file name
    // `proposedName` (without a suffix); nullopt when the user cancels.
    virtual std::optional<SaveTarget> AskSaveReport(const QString& proposedName) = 0;
    // Lets the user choose the printer and its settings; false when the user cancels.
    virtual bool AskPrint(QPrinter& printer) = 0;
};

class QtReportDialogs final : public ReportDialogs {
public:
    explicit QtReportDialogs(QWidget* parent) : parent_(parent) {}
    void SetParent(QWidget* parent) { parent_ = parent; }
    std::optional<SaveTarget> AskSaveReport(const QString& proposedName) override;
    bool AskPrint(QPrinter& printer) override;

private:
    QWidget* parent_;
};

class UrlOpener {
public:
    virtual ~UrlOpener() = default;
    // Hands `target` (a web address, a "mailto:" address or a file name) to the desktop's
    // default handler without waiting; true when the desktop accepted it.
    virtual bool Open(const std::string& target) = 0;
};

class DesktopUrlOpener final : public UrlOpener {
public:
    bool Open(const std::string& target) override;
};

// Timer1: off until started; when on it fires every interval until stopped.
class IntervalTimer : public QObject {
    Q_OBJECT
public:
    using QObject::QObject;
    virtual void Start(int intervalMs) = 0;  // restarts the interval when already on
    virtual void Stop() = 0;
    virtual bool IsActive() const = 0;
signals:
    void Fired();
};

class QtIntervalTimer final : public IntervalTimer {
    Q_OBJECT
public:
    explicit QtIntervalTimer(QObject* parent = nullptr);
    void Start(int intervalMs) override;
    void Stop() override;
    bool IsActive() const override;

private:
    QTimer timer_;
};

}  // namespace skelmar
