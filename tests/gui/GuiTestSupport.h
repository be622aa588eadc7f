#pragma once
// Stand-ins for the desktop (message boxes, links, the timer) and a program folder with the
// files the window looks for, so the window tests run on the offscreen platform without
// blocking on a box or waiting on a clock.

#include <QDir>
#include <QImage>
#include <QStringList>
#include <QString>
#include <QTemporaryDir>

#include <filesystem>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "app/Form1.h"
#include "app/Services.h"
#include "app/Widgets.h"
#include "retrieval/ConnectionCheck.h"
#include "retrieval/HttpClient.h"
#include "retrieval/RetrievalSequence.h"
#include "time/Clock.h"
#include "tests/support/LoopbackServer.h"
#include "time/Calendar.h"

class QSettings;
class QTabWidget;

namespace skelmar {
class StationComboBox;
}

namespace skelmar::testing {

struct Message {
    enum Kind { Warning, Error, GeneralError } kind;
    std::string text;
    bool operator==(const Message&) const = default;
};

class RecordingPresenter final : public MessagePresenter {
public:
    void Warning(const std::string& text) override { messages.push_back({Message::Warning, text}); }
    void Error(const std::string& text) override { messages.push_back({Message::Error, text}); }
    void GeneralError(const std::string& text) override { messages.push_back({Message::GeneralError, text}); }
    std::vector<Message> messages;
};

// The report's dialogs answered as the test says: the save target to give (none: cancelled),
// and for printing, the PDF file the printer writes to (empty: cancelled).
class RecordingDialogs final : public ReportDialogs {
public:
    std::optional<SaveTarget> AskSaveReport(const QString& proposedName) override
    {
        proposedNames.push_back(proposedName);
        return saveTarget;
    }
    bool AskPrint(QPrinter& printer) override;

    std::optional<SaveTarget> saveTarget;
    QString printToPdf;
    std::vector<QString> proposedNames;
    int printAsked = 0;
};

class RecordingUrlOpener final : public UrlOpener {
public:
    bool Open(const std::string& target) override
    {
        opened.push_back(target);
        return accept;
    }
    std::vector<std::string> opened;
    bool accept = true;
};

// Timer1 on a clock that only the test moves.
class FakeTimer final : public IntervalTimer {
    Q_OBJECT
public:
    void Start(int intervalMs) override
    {
        active_ = true;
        interval_ = intervalMs;
        remaining_ = intervalMs;
        ++starts;
    }
    void Stop() override { active_ = false; }
    bool IsActive() const override { return active_; }
    int Interval() const { return interval_; }

    // Lets `ms` milliseconds pass; fires whenever an interval ends while the timer is on.
    void Advance(int ms)
    {
        while (active_ && ms >= remaining_) {
            ms -= remaining_;
            remaining_ = interval_;
            emit Fired();
        }
        if (active_)
            remaining_ -= ms;
    }

    int starts = 0;

private:
    bool active_ = false;
    int interval_ = 0;
    int remaining_ = 0;
};

class FakeConnection final : public ConnectionCheck {
public:
    bool IsConnected() override
    {
        ++asked;
        return connected;
    }
    bool connected = true;
    int asked = 0;
};

// A program folder; Write puts a file into it, or into any folder.
class ProgramFolder {
public:
    ProgramFolder() { dir_.setAutoRemove(true); }
    std::filesystem::path Path() const { return dir_.path().toStdString(); }
    void Write(const std::string& name, const std::string& bytes) const;
    // The shipped configuration file and references pages with their pictures.
    void CopyShippedFiles() const;

private:
    QTemporaryDir dir_;
};

// Limits of the window's HTTP client in the tests: short, as the servers are on loopback.
inline constexpr HttpLimits kTestHttpLimits{std::chrono::seconds(2), std::chrono::seconds(10), 1 << 20};

// A window with recording services over a program folder.
struct FormUnderTest {
    // With `settings`, the window remembers its choices there.
    explicit FormUnderTest(const ProgramFolder& folder, HttpLimits limits = kTestHttpLimits,
                           QSettings* settings = nullptr);
    RecordingPresenter messages;
    RecordingDialogs dialogs;
    RecordingUrlOpener urls;
    FakeTimer timer;
    FakeConnection connection;
    FixedClock clock{EncodeDate(2026, 12, 9)};
    CurlHttpClient http;
    std::filesystem::path picture;  // where the downloaded picture goes
    // When set, asked instead for the picture's place (on the retrieval's thread).
    std::function<std::filesystem::path()> picturePath;
    std::unique_ptr<TForm1> form;

    template <typename T>
    T* Find(const char* name) const
    {
        return form->findChild<T*>(QString::fromLatin1(name));
    }
    // Shows the window (which runs the start-up) and waits until it is exposed.
    void Show();
    // Runs the event loop until no retrieval runs (at most `timeoutMs`); false on time-out.
    bool WaitForRetrieval(int timeoutMs = 30'000) const;
};

// A one-pixel GIF picture.
extern const std::string kOnePixelGif;

// The bytes of a file; empty when it cannot be read.
std::string ReadFileBytes(const QString& path);

// The station page as the server sends it: the bulletin inside a <PRE> block.
std::string StationPage(const std::string& bulletin);

// A started window over the shipped files whose downloads go to a server on 127.0.0.1: an
// [INTERNET] section put first (of a section that appears twice, the first counts) names the
// text at /text/K<code>.htm (/text/<code>.htm for a four-letter code) and, with `pictureServer`, the picture at /graph/<code>.gif;
// without it the picture server is empty.
struct Station {
    explicit Station(const std::string& extraConfig = "", bool pictureServer = true,
                     HttpLimits limits = kTestHttpLimits, QSettings* settings = nullptr);
    // Serves Boston: the fixture bulletin (of 9 December 2026, 1200 UTC) and a one-pixel picture.
    void ServeBoston();
    // Rewrites the configuration file with these addresses before the station part of the
    // bulletin address ("http://.../K") and of the picture address ("http://.../"), the
    // extensions ".htm" and ".gif" and the tag "PRE".
    void PointDownloadsAt(const std::string& textServer, const std::string& graphServer,
                          const std::string& extraConfig = "");
    // Chooses an entry as the user does, with the keyboard on the closed list; waits until
    // the retrieval it starts has ended unless told not to.
    void Choose(const QString& entry, bool wait = true);
    void ClickMap(int x, int y, bool wait = true) const;
    QString Page() const;
    QString Report() const;
    std::vector<std::string> Requested() const;

    test::LoopbackServer server;
    ProgramFolder folder;
    std::string shippedConfig;
    std::unique_ptr<FormUnderTest> t;
    StationComboBox* list = nullptr;
    QTabWidget* pages = nullptr;
};

// What a retrieval can change in the window.
struct Snapshot {
    BulletinLines lines;
    bool memoShowsLines = false;  // the hidden text control mirrors BulletinLines
    TDateTime baseTime = 0;
    QString station;  // the station list's text
    QString report;
    QStringList timeLabels;  // LabelTime06 .. LabelTime60
    QString forecastLabel;
    QString placeTime;
    QImage picture;  // in one format, so that equal pictures compare equal
    QString page;
    bool trackBarEnabled = false;
    bool operator==(const Snapshot&) const = default;

    static Snapshot Of(const Station& s);
};

char* toString(const Snapshot& shot);

}  // namespace skelmar::testing
