#pragma once
// Servers on 127.0.0.1 for tests that talk HTTP, each started by the test on a free port:
//  - LoopbackServer answers GET requests from a table of paths that the test fills (fixed
//    bodies, statuses, headers, redirects, or a body that stalls half-way) and records every
//    request it receives;
//  - RawServer answers every request with the same bytes, for answers that a well-behaved
//    server would not give, at once or one byte at a time;
//  - SilentServer accepts connections and never answers;
//  - ClosedPort() gives a port on which nothing listens, for a refused connection.

#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <string_view>
#include <thread>
#include <utility>
#include <vector>

namespace httplib {
class Server;
}

namespace skelmar::test {

// What the server answers for one path.
struct Reply {
    int status = 200;
    std::string body;
    std::vector<std::pair<std::string, std::string>> headers;  // e.g. {"Set-Cookie", "a=1"}
    // Send the body in chunks without a Content-Length, so the receiver cannot know its size
    // before it has read it.
    bool chunked = false;
    // Answer a Range request with that part of the body (status 206), as a server of static
    // files does; otherwise the whole body, whatever the request asks.
    bool ranges = false;
};

// A certificate and its private key, PEM files, for a server that speaks HTTPS.
struct TlsFiles {
    std::string certificate;
    std::string privateKey;
};

// One request as the server received it.
struct ReceivedRequest {
    std::string method;
    std::string path;
    std::string version;  // "HTTP/1.1"
    std::multimap<std::string, std::string> headers;

    // The value of header `name` (matched without regard to case); "" when it is absent.
    std::string Header(std::string_view name) const;
    // How often header `name` was sent.
    std::size_t HeaderCount(std::string_view name) const;
};

class LoopbackServer {
public:
    // Listening when the constructor returns; a path with no reply answers 404. With `tls`
    // the server speaks HTTPS only.
    explicit LoopbackServer(std::optional<TlsFiles> tls = std::nullopt);
    ~LoopbackServer();
    LoopbackServer(const LoopbackServer&) = delete;
    LoopbackServer& operator=(const LoopbackServer&) = delete;

    int Port() const { return port_; }
    // "http://127.0.0.1:<port>" (or "https://...") followed by `path` ("/a.txt").
    std::string Url(std::string_view path) const;

    // Replies may be set or changed at any time, also while a client is connected.
    void Serve(const std::string& path, Reply reply);
    void Serve(const std::string& path, std::string body) { Serve(path, Reply{200, std::move(body), {}}); }
    void ServeRedirect(const std::string& path, const std::string& location, int status = 302);
    // Sends the status line, the headers and `firstPart` of a chunked body, then stalls until
    // the server is destroyed: a server that dies in the middle of an answer.
    void ServeStalled(const std::string& path, std::string firstPart);
    // Status 200 with a body of `bytes` bytes made while it is sent, so that the server never
    // holds it: with a Content-Length, or chunked when `chunked`.
    void ServeGenerated(const std::string& path, std::uint64_t bytes, bool chunked);

    // Every request received so far, in order; and those for one path.
    std::vector<ReceivedRequest> Requests() const;
    std::vector<ReceivedRequest> RequestsFor(std::string_view path) const;
    // Forgets the requests received so far.
    void ClearRequests();

private:
    struct Route {
        Reply reply;
        bool stall = false;
        std::optional<std::uint64_t> generatedBytes;
    };

    std::unique_ptr<httplib::Server> server_;
    int port_ = -1;
    std::string scheme_;
    std::thread thread_;

    mutable std::mutex mutex_;
    std::condition_variable stopping_changed_;
    bool stopping_ = false;
    std::map<std::string, Route, std::less<>> routes_;
    std::vector<ReceivedRequest> requests_;
};

// A socket listening on 127.0.0.1 on a free port, and a thread that hands each connection to
// `serve`, one at a time, until the listener is destroyed; `serve` closes the client socket.
// WakeFd() becomes readable when the destructor wants the thread to end, so that `serve` can
// stop waiting; the destructor waits for `serve` to return.
class LoopbackListener {
public:
    explicit LoopbackListener(std::function<void(int client)> serve);
    ~LoopbackListener();
    LoopbackListener(const LoopbackListener&) = delete;
    LoopbackListener& operator=(const LoopbackListener&) = delete;

    int Port() const { return port_; }
    int WakeFd() const { return wake_[0]; }

private:
    void Run();

    std::function<void(int client)> serve_;
    int fd_ = -1;
    int port_ = -1;
    int wake_[2] = {-1, -1};
    std::thread thread_;
};

// Reads from `fd` until the bytes read hold the empty line that ends a request's head, or the
// peer closes; returns every byte read (some may follow the head).
std::string ReadRequestHead(int fd);

// Reads each request up to its empty line, sends `answer` as it stands and closes the
// connection. With a `byteInterval`, one byte goes out per interval (a server at the end of a
// very slow line); it serves one connection at a time.
class RawServer {
public:
    explicit RawServer(std::string answer, std::chrono::milliseconds byteInterval = {});
    ~RawServer();
    RawServer(const RawServer&) = delete;
    RawServer& operator=(const RawServer&) = delete;

    int Port() const { return listener_.Port(); }
    std::string Url(std::string_view path) const;

private:
    void Serve(int client);
    // Sends `answer_` to `client` until done or the server is being destroyed.
    void Send(int client);

    std::string answer_;
    std::chrono::milliseconds byteInterval_;
    LoopbackListener listener_;  // last: its thread uses the members above
};

// A listening socket that is never accepted from: the kernel completes the connection and
// takes the request, and no answer ever comes.
class SilentServer {
public:
    SilentServer();
    ~SilentServer();
    SilentServer(const SilentServer&) = delete;
    SilentServer& operator=(const SilentServer&) = delete;

    int Port() const { return port_; }
    std::string Url(std::string_view path) const;

private:
    int fd_ = -1;
    int port_ = -1;
};

// A port of 127.0.0.1 that was free a moment ago and on which nothing listens.
int ClosedPort();

// A TCP socket bound to 127.0.0.1 on a port the kernel picks; returns the socket and its port.
// Throws std::runtime_error when it cannot be made.
std::pair<int, int> BindLoopbackSocket();

}  // namespace skelmar::test
