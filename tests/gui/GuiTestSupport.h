#pragma once
// Stand-ins for the desktop (message boxes, links, the timer) and a program folder with the
// files the window looks for, so the window tests run on the offscreen platform without
// blocking on a box or waiting on a clock.

#include <QDir>
#include <QTemporaryDir>

#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "app/Form1.h"
#include "app/Services.h"
#include "retrieval/ConnectionCheck.h"
#include "retrieval/HttpClient.h"
#include "retrieval/RetrievalSequence.h"
#include "time/Calendar.h"

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

class FixedClock final : public Clock {
public:
    TDateTime Today() const override { return today; }
    TDateTime today = EncodeDate(2026, 12, 9);
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

// A window with recording services over a program folder.
struct FormUnderTest {
    explicit FormUnderTest(const ProgramFolder& folder);
    RecordingPresenter messages;
    RecordingUrlOpener urls;
    FakeTimer timer;
    FakeConnection connection;
    FixedClock clock;
    CurlHttpClient http{HttpLimits{std::chrono::seconds(2), std::chrono::seconds(10), 1 << 20}};
    std::filesystem::path picture;  // where the downloaded picture goes
    std::unique_ptr<TForm1> form;

    template <typename T>
    T* Find(const char* name) const
    {
        return form->findChild<T*>(QString::fromLatin1(name));
    }
    // Shows the window (which runs the start-up) and waits until it is exposed.
    void Show();
};

}  // namespace skelmar::testing
