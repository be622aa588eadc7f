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

class HttpClient {
public:
    virtual ~HttpClient() = default;
    // The whole body of the answer to a GET request for `url`, received into memory.
    // Throws Error on any failure, with a message that names the cause. A refused connection
    // is worded exactly kConnectionRefusedMessage, and only it contains "# 10061".
    virtual std::string Get(const std::string& url) = 0;

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

// The message of a refused connection; callers recognise it by "# 10061" alone.
inline constexpr std::string_view kConnectionRefusedMessage = "Socket Error # 10061\r\nConnection refused.";

struct HttpLimits {
    std::chrono::milliseconds connectTimeout{20'000};  // until the connection stands
    std::chrono::milliseconds totalTimeout{60'000};    // for the whole request, body included
    std::size_t maxBodyBytes = 16 * 1024 * 1024;
};

// GET over HTTP/1.1 (http and https only) with:
//  - the headers "Accept: text/html, */*" and "User-Agent: Mozilla/3.0 (compatible; Indy Library)";
//  - cookies kept in memory for the life of the client and sent with its later requests;
//  - no redirect followed: an answer 3xx is a failure naming its status and its Location;
//  - no proxy, whatever the environment says; no authentication;
//  - certificates checked against the system's store, always;
//  - the limits above: a request that takes longer, or a body that is larger, fails.
// Success is a 2xx status. Messages: kConnectionRefusedMessage; "Host not found: <host>";
// "Connection timed out (<detail>)"; "HTTP/1.1 404 Not Found" (the status line as received);
// "HTTP/1.1 302 Found: redirected to <location> (redirects are not followed)";
// "Response too large (more than 16 MiB)"; "Unsupported address (only http and https):
// <url>"; otherwise libcurl's description of the failure. Text that comes from the server
// or the address never contains "#", so no other failure can pass for a refused connection.
// Not thread-safe: one client serves one thread.
class CurlHttpClient final : public HttpClient {
public:
    // Throws Error when libcurl cannot be set up.
    explicit CurlHttpClient(HttpLimits limits = {});
    ~CurlHttpClient() override;
    CurlHttpClient(const CurlHttpClient&) = delete;
    CurlHttpClient& operator=(const CurlHttpClient&) = delete;

    std::string Get(const std::string& url) override;
    StreamedAnswer GetStreamed(const std::string& url, std::optional<ByteRange> range, const BodySink& sink) override;

private:
    struct Handles;
    HttpLimits limits_;
    std::unique_ptr<Handles> handles_;
};

}  // namespace skelmar
