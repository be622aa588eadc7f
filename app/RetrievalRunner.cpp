#include "app/RetrievalRunner.h"

#include "graph/GifImage.h"
#include "graph/QtText.h"
#include "retrieval/HttpClient.h"

namespace skelmar {

struct RetrievalRunner::Job {
    std::uint64_t id = 0;
    RetrievalRequest request;
    std::atomic<bool> cancelled{false};
};

namespace {

// The worker's side of one job: the observer of its transfers and the target of its picture.
class JobSession final : public TransferObserver, public PictureTarget {
public:
    JobSession(const std::atomic<bool>& cancelled, std::function<std::filesystem::path()> picturePath,
               std::function<void(qint64)> progress)
        : cancelled_(cancelled), picturePath_(std::move(picturePath)), progress_(std::move(progress))
    {
    }

    bool Cancelled() const noexcept override { return cancelled_.load(); }
    void Received(std::size_t bytes) noexcept override
    {
        if (static_cast<qint64>(bytes) == reported_)
            return;
        reported_ = static_cast<qint64>(bytes);
        try {
            progress_(reported_);
        } catch (...) {  // a lost progress report costs nothing
        }
    }
    void Restart() { reported_ = -1; }

    std::filesystem::path Path() override { return picturePath_(); }
    void Load(const std::filesystem::path& file) override { picture = ReadGifPicture(file); }

    QImage picture;

private:
    const std::atomic<bool>& cancelled_;
    std::function<std::filesystem::path()> picturePath_;
    std::function<void(qint64)> progress_;
    qint64 reported_ = -1;
};

// The client with each request announced: the address goes to the status line first.
class AnnouncingClient final : public HttpClient {
public:
    AnnouncingClient(HttpClient& http, JobSession& session, std::function<void(const QString&)> announce)
        : http_(http), session_(session), announce_(std::move(announce))
    {
    }
    std::string Get(const std::string& url) override
    {
        session_.Restart();
        announce_(ToQString(url));
        return http_.Get(url);
    }
    StreamedAnswer GetStreamed(const std::string& url, std::optional<ByteRange> range, const BodySink& sink) override
    {
        session_.Restart();
        announce_(ToQString(url));
        return http_.GetStreamed(url, range, sink);
    }

private:
    HttpClient& http_;
    JobSession& session_;
    std::function<void(const QString&)> announce_;
};

}  // namespace

RetrievalRunner::RetrievalRunner(HttpClient& http, std::function<std::filesystem::path()> picturePath, QObject* parent)
    : QObject(parent), http_(http), picturePath_(std::move(picturePath))
{
    thread_.setObjectName(QStringLiteral("Retrieval"));
    worker_ = new QObject;
    worker_->moveToThread(&thread_);
    connect(&thread_, &QThread::finished, worker_, &QObject::deleteLater);
    thread_.start();
}

RetrievalRunner::~RetrievalRunner()
{
    Cancel();
    thread_.quit();
    thread_.wait();
}

std::uint64_t RetrievalRunner::Start(RetrievalRequest request)
{
    Cancel();
    auto job = std::make_shared<Job>();
    job->id = ++lastId_;
    job->request = std::move(request);
    current_ = job;
    running_ = job->id;
    QMetaObject::invokeMethod(worker_, [this, job] { Run(job); }, Qt::QueuedConnection);
    return job->id;
}

void RetrievalRunner::Cancel()
{
    if (!current_)
        return;
    current_->cancelled = true;
    http_.WakeUp();
    current_.reset();
    running_ = 0;
}

// On the worker thread.
void RetrievalRunner::Run(const std::shared_ptr<Job>& job)
{
    if (job->cancelled)
        return;
    // What reaches the window's thread goes through queued calls on this object, which is
    // not destroyed before the worker has ended.
    const auto post = [this](auto call) { QMetaObject::invokeMethod(this, std::move(call), Qt::QueuedConnection); };
    QString url;
    JobSession session(job->cancelled, picturePath_, [&](qint64 bytes) {
        post([this, url, bytes, id = job->id] {
            if (id == running_)
                emit Progress(url, bytes);
        });
    });
    AnnouncingClient client(http_, session, [&](const QString& next) {
        url = next;
        post([this, url, id = job->id] {
            if (id == running_)
                emit Progress(url, 0);
        });
    });
    http_.SetObserver(&session);
    struct Unobserve {
        HttpClient& http;
        ~Unobserve() { http.SetObserver(nullptr); }
    } unobserve{http_};

    auto result = std::make_shared<RetrievalResult>();
    result->id = job->id;
    try {
        result->outcome = RunRetrieval(job->request, client, session);
    } catch (const TransferCancelledError&) {
        return;
    }
    if (job->cancelled)
        return;
    result->picture = std::move(session.picture);
    post([this, result = std::shared_ptr<const RetrievalResult>(std::move(result))] {
        // A result that a cancel or a newer retrieval overtook on its way is dropped here.
        if (result->id != running_)
            return;
        running_ = 0;
        current_.reset();
        emit Finished(result);
    });
}

}  // namespace skelmar
