#include "tests/support/ForwardProxy.h"

#include <cerrno>
#include <stdexcept>
#include <string_view>

#include <poll.h>

#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

namespace skelmar::test {

namespace {

class Socket {
public:
    explicit Socket(int fd) : fd_(fd) {}
    Socket(const Socket&) = delete;
    Socket& operator=(const Socket&) = delete;
    ~Socket()
    {
        if (fd_ >= 0)
            ::close(fd_);
    }
    int Fd() const { return fd_; }

private:
    int fd_;
};

bool SendAll(int fd, std::string_view bytes)
{
    while (!bytes.empty()) {
        const ssize_t sent = ::send(fd, bytes.data(), bytes.size(), MSG_NOSIGNAL);
        if (sent < 0 && errno == EINTR)
            continue;
        if (sent <= 0)
            return false;
        bytes.remove_prefix(static_cast<std::size_t>(sent));
    }
    return true;
}

int ConnectToLoopback(int port)
{
    const int fd = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (fd < 0)
        return -1;
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    address.sin_port = htons(static_cast<std::uint16_t>(port));
    if (::connect(fd, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0) {
        ::close(fd);
        return -1;
    }
    return fd;
}

// The request head in origin form for the server: the target's scheme and host dropped, the
// proxy's own header left out, and the connection closed after the answer.
std::string OriginFormHead(std::string_view head)
{
    const std::size_t lineEnd = head.find("\r\n");
    std::string_view line = head.substr(0, lineEnd);
    const std::size_t targetStart = line.find(' ') + 1;
    const std::size_t targetEnd = line.find(' ', targetStart);
    std::string_view target = line.substr(targetStart, targetEnd - targetStart);
    if (const std::size_t scheme = target.find("://"); scheme != std::string_view::npos) {
        const std::size_t path = target.find('/', scheme + 3);
        target = path == std::string_view::npos ? std::string_view("/") : target.substr(path);
    }
    std::string result = std::string(line.substr(0, targetStart)) + std::string(target) +
                         std::string(line.substr(targetEnd)) + "\r\n";
    std::string_view rest = head.substr(lineEnd + 2);
    while (!rest.starts_with("\r\n")) {
        const std::size_t end = rest.find("\r\n");
        const std::string_view header = rest.substr(0, end + 2);
        if (!header.starts_with("Proxy-Connection:") && !header.starts_with("Connection:"))
            result += header;
        rest.remove_prefix(end + 2);
    }
    return result + "Connection: close\r\n\r\n";
}

}  // namespace

ForwardProxy::ForwardProxy(int serverPort)
    : serverPort_(serverPort), listener_([this](int client) { Serve(client); })
{
}

ForwardProxy::~ForwardProxy() = default;

std::string ForwardProxy::Url() const { return "http://127.0.0.1:" + std::to_string(listener_.Port()); }

std::vector<std::string> ForwardProxy::RequestLines() const
{
    std::lock_guard lock(mutex_);
    return requestLines_;
}

void ForwardProxy::Serve(int clientFd)
{
    const Socket client(clientFd);
    std::string head = ReadRequestHead(client.Fd());
    const std::size_t headEnd = head.find("\r\n\r\n");
    if (headEnd == std::string::npos)
        return;
    const std::string rest = head.substr(headEnd + 4);
    head.resize(headEnd + 4);
    {
        std::lock_guard lock(mutex_);
        requestLines_.push_back(head.substr(0, head.find("\r\n")));
    }

    const Socket server(ConnectToLoopback(serverPort_));
    if (server.Fd() < 0) {
        SendAll(client.Fd(), "HTTP/1.1 502 Bad Gateway\r\nContent-Length: 0\r\nConnection: close\r\n\r\n");
        return;
    }
    if (head.starts_with("CONNECT ")) {
        if (!SendAll(client.Fd(), "HTTP/1.1 200 Connection established\r\n\r\n") || !SendAll(server.Fd(), rest))
            return;
    } else if (!SendAll(server.Fd(), OriginFormHead(head) + rest)) {
        return;
    }
    Relay(client.Fd(), server.Fd());
}

void ForwardProxy::Relay(int client, int server)
{
    bool clientOpen = true;
    char buffer[16384];
    for (;;) {
        pollfd waiting[3] = {{clientOpen ? client : -1, POLLIN, 0},
                             {server, POLLIN, 0},
                             {listener_.WakeFd(), POLLIN, 0}};
        if (::poll(waiting, 3, -1) < 0) {
            if (errno == EINTR)
                continue;
            return;
        }
        if (waiting[2].revents != 0)
            return;
        for (int side = 0; side < 2; ++side) {
            if (waiting[side].revents == 0)
                continue;
            const int from = side == 0 ? client : server;
            const int to = side == 0 ? server : client;
            const ssize_t got = ::recv(from, buffer, sizeof buffer, 0);
            if (got <= 0) {
                // The client's end may still get an answer; the server's end is the end of
                // this one request (a client that keeps its connection gets no second one).
                if (side == 0)
                    clientOpen = false;
                ::shutdown(to, SHUT_WR);
                if (side == 1)
                    return;
            } else if (!SendAll(to, std::string_view(buffer, static_cast<std::size_t>(got)))) {
                return;
            }
        }
    }
}

}  // namespace skelmar::test
