#pragma once
// Runs the window's retrievals on a worker thread of their own, so that the window's thread
// never waits on the network. The worker runs the synchronous HTTP client; what it learns
// reaches the window's thread only as queued calls: the progress of a transfer, and at the end
// the whole outcome, which the window applies in one step. A newer retrieval, Cancel or the
// window's end cancel the running one: its transfer ends at once (the client is woken and its
// observer says so) and its outcome is never delivered.

#include <QImage>
#include <QObject>
#include <QString>
#include <QThread>

#include <atomic>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <memory>

#include "retrieval/RetrievalSequence.h"

namespace skelmar {

class HttpClient;

// What a retrieval hands to the window.
struct RetrievalResult {
    std::uint64_t id = 0;  // as Start returned it
    RetrievalOutcome outcome;
    QImage picture;  // the decoded picture when outcome.pictureLoaded
};

class RetrievalRunner final : public QObject {
    Q_OBJECT
public:
    // `http` serves the worker thread only from now on, and must outlive the runner.
    // `picturePath` is called on the worker thread, when a picture is about to be written.
    RetrievalRunner(HttpClient& http, std::function<std::filesystem::path()> picturePath, QObject* parent = nullptr);
    ~RetrievalRunner() override;  // cancels what runs and waits for the worker

    // Cancels the running retrieval, if any, and starts this one; its id.
    std::uint64_t Start(RetrievalRequest request);
    // Cancels the running retrieval: its result is never delivered. Nothing when none runs.
    void Cancel();
    // True from Start until its result is delivered or it is cancelled.
    bool Running() const { return running_ != 0; }

signals:
    // On the window's thread: the address being fetched and the bytes of it received so far.
    void Progress(const QString& url, qint64 bytes);
    // On the window's thread: the outcome of the last retrieval started, if not cancelled.
    void Finished(const std::shared_ptr<const RetrievalResult>& result);

private:
    struct Job;
    void Run(const std::shared_ptr<Job>& job);

    HttpClient& http_;
    std::function<std::filesystem::path()> picturePath_;
    QThread thread_;
    QObject* worker_ = nullptr;  // lives on thread_: the context of the jobs
    std::shared_ptr<Job> current_;
    std::uint64_t lastId_ = 0;
    std::uint64_t running_ = 0;  // the id of the running retrieval, 0 when none
};

}  // namespace skelmar
