#include "retrieval/HttpClient.h"

#include <cerrno>
#include <cstdlib>
#include <memory>
#include <string>
#include <string_view>

#include <curl/curl.h>

#include "text/Error.h"

namespace skelmar {

namespace {

constexpr const char* kAcceptHeader = "Accept: text/html, */*";
constexpr const char* kUserAgent = "Mozilla/3.0 (compatible; Indy Library)";
constexpr std::size_t kMaxOutsideTextLength = 300;  // of one text from outside in a message

struct EasyDeleter {
    void operator()(CURL* easy) const { curl_easy_cleanup(easy); }
};
struct MultiDeleter {
    void operator()(CURLM* multi) const { curl_multi_cleanup(multi); }
};
struct ListDeleter {
    void operator()(curl_slist* list) const { curl_slist_free_all(list); }
};
struct UrlDeleter {
    void operator()(CURLU* url) const { curl_url_cleanup(url); }
};
struct CurlFree {
    void operator()(char* text) const { curl_free(text); }
};
using CurlText = std::unique_ptr<char, CurlFree>;

// libcurl is set up once per process, before the first handle, and torn down at exit.
void InitialiseLibcurl()
{
    struct Global {
        CURLcode code = curl_global_init(CURL_GLOBAL_DEFAULT);
        ~Global()
        {
            if (code == CURLE_OK)
                curl_global_cleanup();
        }
    };
    static const Global global;  // thread-safe initialisation
    if (global.code != CURLE_OK)
        throw Error(std::string("Cannot initialise libcurl: ") + curl_easy_strerror(global.code));
}

// Text from the server or the address, made fit for a message: control characters become
// "?", "#" becomes "%23" (so that no other message reads like the refused connection's), and
// the length is bounded.
std::string Sanitised(std::string_view text)
{
    std::string sanitised;
    for (const char c : text.substr(0, kMaxOutsideTextLength)) {
        const auto byte = static_cast<unsigned char>(c);
        if (c == '#')
            sanitised += "%23";
        else
            sanitised += (byte < 0x20 || byte == 0x7F) ? '?' : c;
    }
    if (text.size() > kMaxOutsideTextLength)
        sanitised += "...";
    return sanitised;
}

std::string SizeText(std::size_t bytes)
{
    constexpr std::size_t kMiB = 1024 * 1024;
    if (bytes >= kMiB && bytes % kMiB == 0)
        return std::to_string(bytes / kMiB) + " MiB";
    return std::to_string(bytes) + " bytes";
}

// What one GET collects through the callbacks. The body never grows beyond maxBody bytes.
struct Transfer {
    std::size_t maxBody = 0;
    std::string body;
    std::string statusLine;  // of the last response header block, without its line break
    bool tooLarge = false;
    bool outOfMemory = false;
    // A streamed GET: the body goes to the sink instead, once the status is a success.
    const BodySink* sink = nullptr;
    bool successStatus = false;
    bool stopped = false;        // the sink said stop
    bool sinkFailed = false;     // the sink threw
    std::optional<std::uint64_t> totalSize;  // from Content-Range
    std::uint64_t bodyBytes = 0;
};

// A streamed piece of the body: to the sink, or dropped when it belongs to a failure.
std::size_t StreamBody(Transfer& transfer, std::string_view piece) noexcept
{
    if (!transfer.successStatus)
        return piece.size();
    transfer.bodyBytes += piece.size();
    try {
        if (!(*transfer.sink)(piece)) {
            transfer.stopped = true;
            return 0;
        }
    } catch (...) {
        transfer.sinkFailed = true;
        return 0;
    }
    return piece.size();
}

// "Content-Range: bytes 0-99/12345" -> 12345.
std::optional<std::uint64_t> ContentRangeTotal(std::string_view line)
{
    constexpr std::string_view kName = "content-range:";
    if (line.size() < kName.size())
        return std::nullopt;
    for (std::size_t i = 0; i < kName.size(); ++i)
        if (std::tolower(static_cast<unsigned char>(line[i])) != kName[i])
            return std::nullopt;
    const std::size_t slash = line.find('/');
    if (slash == std::string_view::npos)
        return std::nullopt;
    const std::string total(line.substr(slash + 1, line.find_first_of("\r\n", slash) - slash - 1));
    char* end = nullptr;
    const unsigned long long value = std::strtoull(total.c_str(), &end, 10);
    if (total.empty() || end == total.c_str() || *end != '\0')
        return std::nullopt;
    return value;
}

// libcurl calls these from C: they must not throw. Returning less than `count` aborts.
std::size_t WriteBody(char* data, std::size_t /*size is 1*/, std::size_t count, void* user) noexcept
{
    Transfer& transfer = *static_cast<Transfer*>(user);
    if (transfer.sink != nullptr)
        return StreamBody(transfer, std::string_view(data, count));
    if (count > transfer.maxBody - transfer.body.size()) {
        transfer.tooLarge = true;
        return 0;
    }
    try {
        transfer.body.append(data, count);
    } catch (...) {
        transfer.outOfMemory = true;
        return 0;
    }
    return count;
}

std::size_t ReadHeader(char* data, std::size_t /*size is 1*/, std::size_t count, void* user) noexcept
{
    Transfer& transfer = *static_cast<Transfer*>(user);
    std::string_view line(data, count);
    if (line.starts_with("HTTP/")) {
        while (!line.empty() && (line.back() == '\r' || line.back() == '\n'))
            line.remove_suffix(1);
        try {
            transfer.statusLine.assign(line);
        } catch (...) {
            transfer.outOfMemory = true;
            return 0;
        }
        // "HTTP/1.1 206 Partial Content": the code is the second word.
        const std::size_t blank = line.find(' ');
        transfer.successStatus = blank != std::string_view::npos && line.size() > blank + 1 && line[blank + 1] == '2';
        transfer.totalSize.reset();
    } else if (const auto total = ContentRangeTotal(line)) {
        transfer.totalSize = total;
    }
    return count;
}

// Reports the bytes received and asks whether to go on; non-zero ends the transfer.
int ReportProgress(void* user, curl_off_t, curl_off_t received, curl_off_t, curl_off_t) noexcept
{
    auto* observer = static_cast<TransferObserver*>(user);
    if (observer == nullptr)
        return 0;
    observer->Received(static_cast<std::size_t>(received));
    return observer->Cancelled() ? 1 : 0;
}

template <typename Value>
void SetOption(CURL* easy, CURLoption option, Value value)
{
    const CURLcode code = curl_easy_setopt(easy, option, value);
    if (code != CURLE_OK)
        throw Error(std::string("Cannot set up the HTTP client: ") + curl_easy_strerror(code));
}

// The parsed address, or an Error naming what is wrong with it.
std::unique_ptr<CURLU, UrlDeleter> ParseAddress(const std::string& url)
{
    std::unique_ptr<CURLU, UrlDeleter> parsed(curl_url());
    if (!parsed)
        throw Error("Not enough memory for the address " + Sanitised(url));
    // A scheme is guessed where the address has none, as libcurl itself would.
    if (curl_url_set(parsed.get(), CURLUPART_URL, url.c_str(), CURLU_GUESS_SCHEME | CURLU_NON_SUPPORT_SCHEME) !=
        CURLUE_OK)
        throw Error("Invalid address: " + Sanitised(url));
    char* scheme = nullptr;
    curl_url_get(parsed.get(), CURLUPART_SCHEME, &scheme, 0);
    const CurlText schemeText(scheme);
    const std::string_view name = scheme ? scheme : "";
    if (name != "http" && name != "https")
        throw Error("Unsupported address (only http and https): " + Sanitised(url));
    return parsed;
}

std::string HostOf(CURLU* url)
{
    char* host = nullptr;
    curl_url_get(url, CURLUPART_HOST, &host, 0);
    const CurlText hostText(host);
    return host ? host : "";
}

std::string DescribeFailure(CURLcode code, const char* errorBuffer, const Transfer& transfer, CURLU* url,
                            std::size_t maxBody)
{
    const std::string detail = Sanitised(*errorBuffer ? errorBuffer : curl_easy_strerror(code));
    switch (code) {
    case CURLE_COULDNT_CONNECT:
        return "Cannot connect to " + Sanitised(HostOf(url)) + " (" + detail + ")";
    case CURLE_COULDNT_RESOLVE_HOST:
        return "Host not found: " + Sanitised(HostOf(url));
    case CURLE_OPERATION_TIMEDOUT:
        return "Connection timed out (" + detail + ")";
    case CURLE_FILESIZE_EXCEEDED:
        return "Response too large (more than " + SizeText(maxBody) + ")";
    case CURLE_WRITE_ERROR:
    case CURLE_OUT_OF_MEMORY:
        if (transfer.tooLarge)
            return "Response too large (more than " + SizeText(maxBody) + ")";
        if (transfer.outOfMemory)
            return "Not enough memory for the response";
        break;
    default:
        break;
    }
    return detail;
}

std::string StatusFailure(long status, const Transfer& transfer, CURL* easy)
{
    std::string message = transfer.statusLine.empty() ? "HTTP status " + std::to_string(status)
                                                       : Sanitised(transfer.statusLine);
    if (status >= 300 && status < 400) {
        char* location = nullptr;  // owned by the handle
        curl_easy_getinfo(easy, CURLINFO_REDIRECT_URL, &location);
        if (location)
            message += ": redirected to " + Sanitised(location) + " (redirects are not followed)";
    }
    return message;
}

}  // namespace

struct CurlHttpClient::Handles {
    std::unique_ptr<curl_slist, ListDeleter> headers;  // used by `easy`, so it outlives it
    std::unique_ptr<CURL, EasyDeleter> easy;
    // Runs `easy` so that the wait for the network can be woken from another thread.
    std::unique_ptr<CURLM, MultiDeleter> multi;
};

CurlHttpClient::CurlHttpClient(HttpLimits limits) : limits_(limits), handles_(std::make_unique<Handles>())
{
    InitialiseLibcurl();
    handles_->headers.reset(curl_slist_append(nullptr, kAcceptHeader));
    handles_->easy.reset(curl_easy_init());
    handles_->multi.reset(curl_multi_init());
    if (!handles_->headers || !handles_->easy || !handles_->multi)
        throw Error("Cannot set up the HTTP client: not enough memory");
    CURL* easy = handles_->easy.get();

    SetOption(easy, CURLOPT_NOSIGNAL, 1L);
    // A cancelled transfer does not wait for its name lookup (which libcurl runs on a thread
    // of its own) to finish: Cancel and Exit end it at once even when a resolver is slow.
    SetOption(easy, CURLOPT_QUICK_EXIT, 1L);
    SetOption(easy, CURLOPT_PROTOCOLS_STR, "http,https");
    SetOption(easy, CURLOPT_HTTPGET, 1L);
    SetOption(easy, CURLOPT_HTTP_VERSION, static_cast<long>(CURL_HTTP_VERSION_1_1));
    SetOption(easy, CURLOPT_HTTPHEADER, handles_->headers.get());
    SetOption(easy, CURLOPT_USERAGENT, kUserAgent);
    // An empty cookie file turns the cookie engine on without reading anything: cookies live
    // in this handle, in memory, and go with every later request that matches them.
    SetOption(easy, CURLOPT_COOKIEFILE, "");
    SetOption(easy, CURLOPT_FOLLOWLOCATION, 0L);
    // No proxy is set here: libcurl then takes the one the environment names at each request,
    // as curl and most programs of the system do, so a user behind a proxy gets the bulletin.
    // Certificates are checked through a proxy's tunnel as without one.
    SetOption(easy, CURLOPT_SSL_VERIFYPEER, 1L);
    SetOption(easy, CURLOPT_SSL_VERIFYHOST, 2L);
    SetOption(easy, CURLOPT_CONNECTTIMEOUT_MS, static_cast<long>(limits_.connectTimeout.count()));
    SetOption(easy, CURLOPT_TIMEOUT_MS, static_cast<long>(limits_.totalTimeout.count()));
    // Refuses a body whose announced length is too large before it arrives; WriteBody catches
    // the rest.
    SetOption(easy, CURLOPT_MAXFILESIZE_LARGE, static_cast<curl_off_t>(limits_.maxBodyBytes));
    SetOption(easy, CURLOPT_WRITEFUNCTION, &WriteBody);
    SetOption(easy, CURLOPT_HEADERFUNCTION, &ReadHeader);
    SetOption(easy, CURLOPT_XFERINFOFUNCTION, &ReportProgress);
    SetOption(easy, CURLOPT_NOPROGRESS, 0L);
}

CurlHttpClient::~CurlHttpClient() = default;

void CurlHttpClient::WakeUp()
{
    curl_multi_wakeup(handles_->multi.get());
}

long CurlHttpClient::Request(const std::string& url, void* transferData, const char* range)
{
    Transfer& transfer = *static_cast<Transfer*>(transferData);
    const auto address = ParseAddress(url);
    CURL* easy = handles_->easy.get();
    char errorBuffer[CURL_ERROR_SIZE] = "";

    // The handle outlives this call, so it must not keep pointers to what dies with it, nor
    // a streamed request's range and size limit.
    struct Binding {
        CURL* easy;
        curl_off_t maxBody;
        ~Binding()
        {
            curl_easy_setopt(easy, CURLOPT_ERRORBUFFER, nullptr);
            curl_easy_setopt(easy, CURLOPT_WRITEDATA, nullptr);
            curl_easy_setopt(easy, CURLOPT_HEADERDATA, nullptr);
            curl_easy_setopt(easy, CURLOPT_XFERINFODATA, nullptr);
            curl_easy_setopt(easy, CURLOPT_CURLU, nullptr);
            curl_easy_setopt(easy, CURLOPT_RANGE, nullptr);
            curl_easy_setopt(easy, CURLOPT_MAXFILESIZE_LARGE, maxBody);
        }
    } binding{easy, static_cast<curl_off_t>(limits_.maxBodyBytes)};
    SetOption(easy, CURLOPT_CURLU, address.get());
    SetOption(easy, CURLOPT_WRITEDATA, &transfer);
    SetOption(easy, CURLOPT_HEADERDATA, &transfer);
    SetOption(easy, CURLOPT_ERRORBUFFER, errorBuffer);
    SetOption(easy, CURLOPT_XFERINFODATA, observer_);
    if (transfer.sink != nullptr) {
        // A streamed body has no size limit but the one its sink sets by stopping.
        SetOption(easy, CURLOPT_MAXFILESIZE_LARGE, static_cast<curl_off_t>(0));
        SetOption(easy, CURLOPT_RANGE, range);
    }

    const auto code = static_cast<CURLcode>(Perform());
    if (code == CURLE_ABORTED_BY_CALLBACK)
        throw TransferCancelledError();
    long osErrno = 0;
    curl_easy_getinfo(easy, CURLINFO_OS_ERRNO, &osErrno);
    if (code == CURLE_COULDNT_CONNECT && osErrno == ECONNREFUSED)
        throw ConnectionRefusedError();
    if (code == CURLE_WRITE_ERROR && transfer.sinkFailed)
        throw Error("The download was stopped by an error while it was read");
    if (code != CURLE_OK && !(code == CURLE_WRITE_ERROR && transfer.stopped))
        throw Error(DescribeFailure(code, errorBuffer, transfer, address.get(), limits_.maxBodyBytes));
    long status = 0;
    curl_easy_getinfo(easy, CURLINFO_RESPONSE_CODE, &status);
    if (status < 200 || status > 299)
        throw Error(StatusFailure(status, transfer, easy));
    return status;
}

std::string CurlHttpClient::Get(const std::string& url)
{
    Transfer transfer;
    transfer.maxBody = limits_.maxBodyBytes;
    Request(url, &transfer, nullptr);
    return std::move(transfer.body);
}

StreamedAnswer CurlHttpClient::GetStreamed(const std::string& url, std::optional<ByteRange> range, const BodySink& sink)
{
    Transfer transfer;
    transfer.sink = &sink;
    std::string rangeText;
    if (range)
        rangeText = std::to_string(range->first) + "-" +
                    (range->last == ByteRange::kToEnd ? std::string() : std::to_string(range->last));
    StreamedAnswer answer;
    answer.status = Request(url, &transfer, range ? rangeText.c_str() : nullptr);
    answer.totalSize = transfer.totalSize;
    answer.bodyBytes = transfer.bodyBytes;
    answer.stopped = transfer.stopped;
    return answer;
}

int CurlHttpClient::Perform()
{
    CURL* easy = handles_->easy.get();
    CURLM* multi = handles_->multi.get();
    const auto cancelled = [this] { return observer_ != nullptr && observer_->Cancelled(); };
    if (cancelled())
        return static_cast<int>(CURLE_ABORTED_BY_CALLBACK);
    if (curl_multi_add_handle(multi, easy) != CURLM_OK)
        throw Error("Cannot set up the HTTP client: not enough memory");
    // Also when the transfer is cut short: the handle serves the next request.
    struct Detach {
        CURLM* multi;
        CURL* easy;
        ~Detach() { curl_multi_remove_handle(multi, easy); }
    } detach{multi, easy};

    for (;;) {
        int running = 0;
        CURLMcode status = curl_multi_perform(multi, &running);
        if (status == CURLM_OK && running == 0)
            break;
        if (cancelled())
            return static_cast<int>(CURLE_ABORTED_BY_CALLBACK);
        // The wait ends when data moves, a timer of libcurl is due or WakeUp is called.
        if (status == CURLM_OK)
            status = curl_multi_poll(multi, nullptr, 0, 1000, nullptr);
        if (status != CURLM_OK)
            throw Error(std::string("HTTP client failure: ") + curl_multi_strerror(status));
        if (cancelled())
            return static_cast<int>(CURLE_ABORTED_BY_CALLBACK);
    }
    int left = 0;
    while (const CURLMsg* message = curl_multi_info_read(multi, &left))
        if (message->msg == CURLMSG_DONE && message->easy_handle == easy)
            return static_cast<int>(message->data.result);
    throw Error("HTTP client failure: the transfer ended without a result");
}

}  // namespace skelmar
