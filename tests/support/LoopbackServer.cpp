#include "tests/support/LoopbackServer.h"

#include <cerrno>
#include <stdexcept>

#include <fcntl.h>
#include <poll.h>

#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <httplib.h>

namespace skelmar::test {

namespace {

bool EqualsIgnoreCase(std::string_view a, std::string_view b)
{
    if (a.size() != b.size())
        return false;
    for (std::size_t i = 0; i < a.size(); ++i)
        if (std::tolower(static_cast<unsigned char>(a[i])) != std::tolower(static_cast<unsigned char>(b[i])))
            return false;
    return true;
}

std::string LoopbackUrl(std::string_view scheme, int port, std::string_view path)
{
    return std::string(scheme) + "://127.0.0.1:" + std::to_string(port) + std::string(path);
}

std::unique_ptr<httplib::Server> MakeServer(const std::optional<TlsFiles>& tls)
{
    if (!tls)
        return std::make_unique<httplib::Server>();
    auto server = std::make_unique<httplib::SSLServer>(tls->certificate.c_str(), tls->privateKey.c_str());
    if (!server->is_valid())
        throw std::runtime_error("cannot load " + tls->certificate + " and " + tls->privateKey);
    return server;
}

}  // namespace

std::pair<int, int> BindLoopbackSocket()
{
    const int fd = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (fd < 0)
        throw std::runtime_error("socket() failed");
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    address.sin_port = 0;
    socklen_t length = sizeof address;
    if (::bind(fd, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0 ||
        ::getsockname(fd, reinterpret_cast<sockaddr*>(&address), &length) != 0) {
        ::close(fd);
        throw std::runtime_error("cannot bind a socket to 127.0.0.1");
    }
    return {fd, ntohs(address.sin_port)};
}

std::string ReceivedRequest::Header(std::string_view name) const
{
    for (const auto& [key, value] : headers)
        if (EqualsIgnoreCase(key, name))
            return value;
    return {};
}

std::size_t ReceivedRequest::HeaderCount(std::string_view name) const
{
    std::size_t count = 0;
    for (const auto& header : headers)
        count += EqualsIgnoreCase(header.first, name) ? 1 : 0;
    return count;
}

LoopbackServer::LoopbackServer(std::optional<TlsFiles> tls)
    : server_(MakeServer(tls)), scheme_(tls ? "https" : "http")
{
    // One handler for every path, so that replies can change while the server runs.
    server_->Get(".*", [this](const httplib::Request& request, httplib::Response& response) {
        Route route;
        {
            std::lock_guard lock(mutex_);
            requests_.push_back({request.method, request.path, request.version,
                                 {request.headers.begin(), request.headers.end()}});
            const auto found = routes_.find(request.path);
            if (found == routes_.end()) {
                response.status = 404;
                response.set_content("Not Found", "text/plain");
                return;
            }
            route = found->second;
        }
        // Left unset, the library answers ranges itself (200 or 206).
        response.status = route.reply.ranges && route.reply.status == 200 ? -1 : route.reply.status;
        for (const auto& [name, value] : route.reply.headers)
            response.set_header(name, value);
        if (route.stall) {
            response.set_chunked_content_provider(
                "text/plain", [this, part = route.reply.body](std::size_t offset, httplib::DataSink& sink) {
                    if (offset == 0)
                        return sink.write(part.data(), part.size());
                    std::unique_lock lock(mutex_);
                    stopping_changed_.wait(lock, [this] { return stopping_; });
                    return false;
                });
        } else if (route.generatedBytes) {
            const std::uint64_t total = *route.generatedBytes;
            const auto generate = [total](std::size_t offset, httplib::DataSink& sink) {
                static const std::string kBlock(64 * 1024, 'x');
                if (offset >= total) {
                    sink.done();
                    return true;
                }
                return sink.write(kBlock.data(), static_cast<std::size_t>(std::min<std::uint64_t>(kBlock.size(), total - offset)));
            };
            if (route.reply.chunked)
                response.set_chunked_content_provider("application/octet-stream", generate);
            else
                response.set_content_provider(static_cast<std::size_t>(total), "application/octet-stream",
                                              [generate](std::size_t offset, std::size_t, httplib::DataSink& sink) {
                                                  return generate(offset, sink);
                                              });
        } else if (route.reply.chunked) {
            response.set_chunked_content_provider(
                "application/octet-stream",
                [body = route.reply.body](std::size_t offset, httplib::DataSink& sink) {
                    constexpr std::size_t kChunk = 64 * 1024;
                    if (offset < body.size())
                        return sink.write(body.data() + offset, std::min(kChunk, body.size() - offset));
                    sink.done();
                    return true;
                });
        } else {
            response.set_content(route.reply.body, "application/octet-stream");
        }
    });
    // Small answers go out at once: with Nagle's algorithm against the client's delayed
    // acknowledgement, each answer would wait some 40 ms.
    server_->set_tcp_nodelay(true);
    port_ = server_->bind_to_any_port("127.0.0.1");
    if (port_ <= 0)
        throw std::runtime_error("cannot bind the loopback server");
    // The socket listens from here on; connections wait in its backlog until the loop runs.
    thread_ = std::thread([this] { server_->listen_after_bind(); });
    while (!server_->is_running())
        std::this_thread::yield();
}

LoopbackServer::~LoopbackServer()
{
    {
        std::lock_guard lock(mutex_);
        stopping_ = true;
    }
    stopping_changed_.notify_all();
    server_->stop();
    thread_.join();
}

std::string LoopbackServer::Url(std::string_view path) const { return LoopbackUrl(scheme_, port_, path); }

void LoopbackServer::Serve(const std::string& path, Reply reply)
{
    std::lock_guard lock(mutex_);
    routes_[path] = Route{std::move(reply), false, std::nullopt};
}

void LoopbackServer::ServeRedirect(const std::string& path, const std::string& location, int status)
{
    Serve(path, Reply{status, "Moved", {{"Location", location}}});
}

void LoopbackServer::ServeStalled(const std::string& path, std::string firstPart)
{
    std::lock_guard lock(mutex_);
    routes_[path] = Route{Reply{200, std::move(firstPart), {}}, true, std::nullopt};
}

void LoopbackServer::ServeGenerated(const std::string& path, std::uint64_t bytes, bool chunked)
{
    std::lock_guard lock(mutex_);
    Route route;
    route.reply.chunked = chunked;
    route.generatedBytes = bytes;
    routes_[path] = std::move(route);
}

void LoopbackServer::ClearRequests()
{
    std::lock_guard lock(mutex_);
    requests_.clear();
}

std::vector<ReceivedRequest> LoopbackServer::Requests() const
{
    std::lock_guard lock(mutex_);
    return requests_;
}

std::vector<ReceivedRequest> LoopbackServer::RequestsFor(std::string_view path) const
{
    std::vector<ReceivedRequest> matching;
    for (ReceivedRequest& request : Requests())
        if (request.path == path)
            matching.push_back(std::move(request));
    return matching;
}

LoopbackListener::LoopbackListener(std::function<void(int client)> serve) : serve_(std::move(serve))
{
    std::tie(fd_, port_) = BindLoopbackSocket();
    if (::listen(fd_, 16) != 0 || ::pipe2(wake_, O_CLOEXEC) != 0) {
        ::close(fd_);
        throw std::runtime_error("cannot listen on 127.0.0.1");
    }
    thread_ = std::thread([this] { Run(); });
}

LoopbackListener::~LoopbackListener()
{
    const char stop = 0;
    [[maybe_unused]] const ssize_t written = ::write(wake_[1], &stop, 1);
    thread_.join();
    ::close(wake_[0]);
    ::close(wake_[1]);
    ::close(fd_);
}

void LoopbackListener::Run()
{
    for (;;) {
        pollfd waiting[2] = {{fd_, POLLIN, 0}, {wake_[0], POLLIN, 0}};
        if (::poll(waiting, 2, -1) < 0 && errno != EINTR)
            return;
        if (waiting[1].revents != 0)
            return;
        if (waiting[0].revents == 0)
            continue;
        if (const int client = ::accept4(fd_, nullptr, nullptr, SOCK_CLOEXEC); client >= 0)
            serve_(client);
    }
}

std::string ReadRequestHead(int fd)
{
    std::string bytes;
    char buffer[4096];
    while (bytes.find("\r\n\r\n") == std::string::npos) {
        const ssize_t got = ::recv(fd, buffer, sizeof buffer, 0);
        if (got <= 0)
            break;
        bytes.append(buffer, static_cast<std::size_t>(got));
    }
    return bytes;
}

RawServer::RawServer(std::string answer, std::chrono::milliseconds byteInterval)
    : answer_(std::move(answer)), byteInterval_(byteInterval), listener_([this](int client) { Serve(client); })
{
}

RawServer::~RawServer() = default;

std::string RawServer::Url(std::string_view path) const { return LoopbackUrl("http", Port(), path); }

void RawServer::Serve(int client)
{
    // The whole request is read before answering, so closing sends no reset.
    ReadRequestHead(client);
    Send(client);
    ::shutdown(client, SHUT_WR);
    ::close(client);
}

void RawServer::Send(int client)
{
    std::string_view rest = answer_;
    while (!rest.empty()) {
        const std::size_t part = byteInterval_.count() > 0 ? 1 : rest.size();
        const ssize_t sent = ::send(client, rest.data(), part, MSG_NOSIGNAL);
        if (sent <= 0)
            return;
        rest.remove_prefix(static_cast<std::size_t>(sent));
        if (byteInterval_.count() > 0 && !rest.empty()) {
            // The wait for the next byte ends early when the destructor wakes the server.
            pollfd wake = {listener_.WakeFd(), POLLIN, 0};
            if (::poll(&wake, 1, static_cast<int>(byteInterval_.count())) > 0)
                return;
        }
    }
}

SilentServer::SilentServer()
{
    std::tie(fd_, port_) = BindLoopbackSocket();
    if (::listen(fd_, 16) != 0) {
        ::close(fd_);
        throw std::runtime_error("listen() failed");
    }
}

SilentServer::~SilentServer() { ::close(fd_); }

std::string SilentServer::Url(std::string_view path) const { return LoopbackUrl("http", port_, path); }

int ClosedPort()
{
    const auto [fd, port] = BindLoopbackSocket();
    ::close(fd);
    return port;
}

}  // namespace skelmar::test
