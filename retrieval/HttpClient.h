#pragma once
// Fetching a document over HTTP: one operation behind a small interface, so that the retrieval
// can be tested with a fake, and its one real implementation on libcurl.

#include <chrono>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include "text/Error.h"

namespace skelmar {

// Bytes `first` to `last` of a document, both included (an HTTP Range request); kToEnd as
// `last`: to the document's end.
struct ByteRange {
    static constexpr std::uint64_t kToEnd = ~std::uint64_t{0};
    std::uint64_t first = 0;
    std::uint64_t last = kToEnd;
};

// Receives a body piece by piece as it arrives; false stops the transfer there.
using BodySink = std::function<bool(std::string_view piece)>;

struct StreamedAnswer {
    long status = 200;                        // 200 (the whole document) or 206 (the range)
    std::optional<std::uint64_t> totalSize;   // the document's size, from Content-Range
    std::uint64_t bodyBytes = 0;              // bytes of the body received
    bool stopped = false;                     // the sink stopped the transfer
};

// The message of a refused connection.
inline constexpr std::string_view kConnectionRefusedMessage = "Socket Error # 10061\r\nConnection refused.";

// Nothing listens at the address: callers tell it apart from other failures by its type.
class ConnectionRefusedError final : public Error {
public:
    ConnectionRefusedError() : Error(std::string(kConnectionRefusedMessage)) {}
};

// The transfer was ended because its observer asked for it.
class TransferCancelledError final : public Error {
public:
    TransferCancelledError() : Error("Transfer cancelled") {}
};

// What the thread that runs a transfer wants to know of it and say about it. Called on that
// thread, during Get; must not throw.
class TransferObserver {
public:
    virtual ~TransferObserver() = default;
    // True when the transfer is to end now (it then fails with TransferCancelledError).
    virtual bool Cancelled() const noexcept = 0;
    // The bytes of the body received so far.
    virtual void Received(std::size_t bytes) noexcept = 0;
};

class HttpClient {
public:
    virtual ~HttpClient() = default;
    // The whole body of the answer to a GET request for `url`, received into memory.
    // Throws ConnectionRefusedError for a refused connection, TransferCancelledError when the
    // observer cancels it, and Error for any other failure, with a message naming the cause.
    virtual std::string Get(const std::string& url) = 0;
    // The observer of the following transfers (null: none); set on the thread that calls Get.
    virtual void SetObserver(TransferObserver* observer) { (void)observer; }
    // From any thread: a Get that waits on the network asks its observer at once.
    virtual void WakeUp() {}

    // A GET whose body goes to `sink` as it arrives, with the Range header when `range` is
    // given; a server may answer a range with the whole document (status 200). The body of
    // a failure status never reaches the sink. Failures as Get; no limit on the size, which
    // the sink controls. This default gets the whole body with Get and hands it on at once.
    virtual StreamedAnswer GetStreamed(const std::string& url, std::optional<ByteRange> range, const BodySink& sink)
    {
        (void)range;
        const std::string body = Get(url);
        StreamedAnswer answer;
        answer.bodyBytes = body.size();
        answer.stopped = !sink(body);
        return answer;
    }
};

struct HttpLimits {
    std::chrono::milliseconds connectTimeout{20'000};  // until the connection stands
    std::chrono::milliseconds totalTimeout{60'000};    // for the whole request, body included
    std::size_t maxBodyBytes = 16 * 1024 * 1024;
};

// GET over HTTP/1.1 (http and https only) with:
//  - the headers "Accept: text/html, */*" and "User-Agent: Mozilla/3.0 (compatible; Indy Library)";
//  - cookies kept in memory for the life of the client and sent with its later requests;
//  - no redirect followed: an answer 3xx is a failure naming its status and its Location;
//  - the proxy that the environment names, read as curl reads it at each request: http_proxy
//    for http addresses, https_proxy or HTTPS_PROXY for https, all_proxy or ALL_PROXY for
//    either, and no_proxy or NO_PROXY the hosts reached directly; HTTP_PROXY in capitals is
//    not read (under that name a CGI environment carries a header of the request);
//  - no authentication but what a proxy's address carries;
//  - certificates checked against the system's store, always;
//  - the limits above: a request that takes longer, or a body that is larger, fails.
// Success is a 2xx status. Messages: kConnectionRefusedMessage (a ConnectionRefusedError);
// "Host not found: <host>";
// "Connection timed out (<detail>)"; "HTTP/1.1 404 Not Found" (the status line as received);
// "HTTP/1.1 302 Found: redirected to <location> (redirects are not followed)";
// "Response too large (more than 16 MiB)"; "Unsupported address (only http and https):
// <url>"; otherwise libcurl's description of the failure. The observer is asked whenever
// data arrives and whenever WakeUp is called, so a cancel ends a stalled transfer at once.
// Not thread-safe but for WakeUp: one client serves one thread at a time.
class CurlHttpClient final : public HttpClient {
public:
    // Throws Error when libcurl cannot be set up.
    explicit CurlHttpClient(HttpLimits limits = {});
    ~CurlHttpClient() override;
    CurlHttpClient(const CurlHttpClient&) = delete;
    CurlHttpClient& operator=(const CurlHttpClient&) = delete;

    std::string Get(const std::string& url) override;
    void SetObserver(TransferObserver* observer) override { observer_ = observer; }
    void WakeUp() override;
    StreamedAnswer GetStreamed(const std::string& url, std::optional<ByteRange> range, const BodySink& sink) override;

private:
    // One GET into `transfer` (a Transfer of the implementation: streamed when it has a sink,
    // with `range` when not null); the status, a success. Throws as Get.
    long Request(const std::string& url, void* transfer, const char* range);
    // Runs the transfer set up on the handle; libcurl's result.
    int Perform();
    TransferObserver* observer_ = nullptr;
    struct Handles;
    HttpLimits limits_;
    std::unique_ptr<Handles> handles_;
};

}  // namespace skelmar
