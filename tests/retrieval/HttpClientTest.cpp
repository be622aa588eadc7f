#include "retrieval/HttpClient.h"

#include <atomic>
#include <memory>
#include <optional>
#include <thread>
#include <utility>
#include <vector>

#include <gtest/gtest.h>

#include "tests/support/ForwardProxy.h"
#include "tests/support/LoopbackServer.h"
#include "tests/support/ScopedResources.h"
#include "text/Error.h"

namespace skelmar {
namespace {

using namespace std::chrono_literals;
using test::LoopbackServer;
using test::Reply;

// Generous limits for requests that should succeed or fail at once, so that a fault shows as
// a failed test rather than a hung one.
constexpr HttpLimits kTestLimits{5s, 10s, 16 * 1024 * 1024};

// The message of the failure of GET `url`, or nullopt when it succeeded.
std::optional<std::string> FailureOf(HttpClient& client, const std::string& url)
{
    try {
        client.Get(url);
    } catch (const Error& error) {
        return error.what();
    }
    return std::nullopt;
}

// Bytes of every value, NUL and CR LF included, in an order that is not periodic.
std::string MixedBytes(std::size_t size)
{
    std::string bytes(size, '\0');
    std::uint32_t state = 12345;
    for (char& c : bytes) {
        state = state * 1103515245u + 12345u;
        c = static_cast<char>(state >> 23);
    }
    return bytes;
}

class HttpClientTest : public ::testing::Test {
protected:
    LoopbackServer server_;
    CurlHttpClient client_{kTestLimits};
};

TEST_F(HttpClientTest, BodyArrivesWhole)
{
    struct Expectation {
        int line;
        std::size_t size;
        bool chunked;
    };
    const Expectation kExpect[] = {
        {__LINE__, 0, false},
        {__LINE__, 1, false},
        {__LINE__, 3 * 1024 * 1024 + 17, false},  // many writes into the body
        {__LINE__, 3 * 1024 * 1024 + 17, true},   // no Content-Length
    };
    for (const Expectation& e : kExpect) {
        SCOPED_TRACE(e.line);
        const std::string body = MixedBytes(e.size);
        server_.Serve("/body", Reply{200, body, {}, e.chunked});
        EXPECT_EQ(client_.Get(server_.Url("/body")), body);
    }
}

TEST_F(HttpClientTest, RequestCarriesTheClientsHeaders)
{
    server_.Serve("/page", "text");
    client_.Get(server_.Url("/page"));
    const auto requests = server_.RequestsFor("/page");
    ASSERT_EQ(requests.size(), 1u);
    const test::ReceivedRequest& request = requests[0];
    EXPECT_EQ(request.method, "GET");
    EXPECT_EQ(request.version, "HTTP/1.1");
    EXPECT_EQ(request.HeaderCount("Accept"), 1u);
    EXPECT_EQ(request.Header("Accept"), "text/html, */*");
    EXPECT_EQ(request.HeaderCount("User-Agent"), 1u);
    EXPECT_EQ(request.Header("User-Agent"), "Mozilla/3.0 (compatible; Indy Library)");
    EXPECT_EQ(request.HeaderCount("Authorization"), 0u);
    EXPECT_EQ(request.HeaderCount("Cookie"), 0u);
}

TEST_F(HttpClientTest, CookiesLastForTheClientsLife)
{
    server_.Serve("/first", Reply{200, "first", {{"Set-Cookie", "session=abc123; Path=/"}}});
    server_.Serve("/second", "second");
    client_.Get(server_.Url("/first"));
    client_.Get(server_.Url("/second"));
    client_.Get(server_.Url("/second"));
    for (const auto& request : server_.RequestsFor("/second"))
        EXPECT_EQ(request.Header("Cookie"), "session=abc123");

    // Kept in memory by that client only: a new client starts without cookies.
    CurlHttpClient fresh(kTestLimits);
    fresh.Get(server_.Url("/second"));
    EXPECT_EQ(server_.RequestsFor("/second").back().HeaderCount("Cookie"), 0u);
}

TEST_F(HttpClientTest, StatusOtherThanSuccessFails)
{
    struct Expectation {
        int line;
        int status;
        std::string body;
        std::optional<std::string> failure;
    };
    const Expectation kExpect[] = {
        {__LINE__, 404, "no such page", "HTTP/1.1 404 Not Found"},
        {__LINE__, 500, "", "HTTP/1.1 500 Internal Server Error"},
        {__LINE__, 403, "forbidden", "HTTP/1.1 403 Forbidden"},
        {__LINE__, 304, "", "HTTP/1.1 304 Not Modified"},
        {__LINE__, 200, "page", std::nullopt},
        {__LINE__, 204, "", std::nullopt},
        {__LINE__, 404, "", "HTTP/1.1 404 Not Found"},  // the same client, after a success
    };
    for (const Expectation& e : kExpect) {
        SCOPED_TRACE(e.line);
        server_.Serve("/status", Reply{e.status, e.body, {}});
        EXPECT_EQ(FailureOf(client_, server_.Url("/status")), e.failure);
    }
}

TEST_F(HttpClientTest, RedirectFailsAndIsNotFollowed)
{
    server_.Serve("/target", "target");
    server_.ServeRedirect("/moved", server_.Url("/target"), 302);
    server_.ServeRedirect("/relative", "/target", 301);

    EXPECT_EQ(FailureOf(client_, server_.Url("/moved")),
              "HTTP/1.1 302 Found: redirected to " + server_.Url("/target") + " (redirects are not followed)");
    EXPECT_EQ(FailureOf(client_, server_.Url("/relative")),
              "HTTP/1.1 301 Moved Permanently: redirected to " + server_.Url("/target") +
                  " (redirects are not followed)");
    EXPECT_TRUE(server_.RequestsFor("/target").empty());
}

TEST(HttpClient, RefusedConnectionIsSocketError10061)
{
    CurlHttpClient client(kTestLimits);
    const std::string url = "http://127.0.0.1:" + std::to_string(test::ClosedPort()) + "/bulletin";
    EXPECT_EQ(FailureOf(client, url), "Socket Error # 10061\r\nConnection refused.");
    EXPECT_THROW(client.Get(url), ConnectionRefusedError);
}

// Cancels once `cancelAt` is set and counts the bytes it is told of.
class CancellingObserver final : public TransferObserver {
public:
    bool Cancelled() const noexcept override { return cancelled.load(); }
    void Received(std::size_t bytes) noexcept override { received = bytes; }
    std::atomic<bool> cancelled{false};
    std::atomic<std::size_t> received{0};
};

// A transfer that waits on a silent server or a trickle ends as soon as it is cancelled from
// another thread and woken, long before any time limit; the client then serves the next one.
TEST(HttpClient, CancelFromAnotherThreadEndsAStalledTransferAtOnce)
{
    test::SilentServer silent;
    test::RawServer trickle("HTTP/1.1 200 OK\r\nContent-Length: 50\r\n\r\n" + std::string(50, 'x'), 300ms);
    LoopbackServer good;
    good.Serve("/a.txt", "body");
    CurlHttpClient client(HttpLimits{30s, 60s, 1 << 20});
    for (const std::string& url : {silent.Url("/x"), trickle.Url("/x")}) {
        SCOPED_TRACE(url);
        CancellingObserver observer;
        client.SetObserver(&observer);
        std::chrono::steady_clock::time_point cancelledAt;
        std::thread canceller([&] {
            std::this_thread::sleep_for(1200ms);
            cancelledAt = std::chrono::steady_clock::now();
            observer.cancelled = true;
            client.WakeUp();
        });
        EXPECT_THROW(client.Get(url), TransferCancelledError);
        const auto late = std::chrono::steady_clock::now() - cancelledAt;
        canceller.join();
        // 100 ms is the goal; the bound leaves room for a loaded machine.
        EXPECT_LT(late, 500ms);
        client.SetObserver(nullptr);
    }
    EXPECT_EQ(client.Get(good.Url("/a.txt")), "body");
}

TEST(HttpClient, UnknownHostIsNotFound)
{
    // A label of 64 characters is longer than DNS allows, so the resolver refuses the name
    // without asking any server; ".invalid" can never exist anyway.
    const std::string host = std::string(64, 'a') + ".invalid";
    CurlHttpClient client(kTestLimits);
    EXPECT_EQ(FailureOf(client, "http://" + host + "/bulletin"), "Host not found: " + host);
}

TEST(HttpClient, ServerThatStopsAnsweringTimesOut)
{
    const HttpLimits limits{1s, 1s, 1024};
    test::SilentServer silent;
    LoopbackServer stalled;
    stalled.ServeStalled("/half", "the first part of the answer");
    for (const std::string& url : {silent.Url("/never"), stalled.Url("/half")}) {
        SCOPED_TRACE(url);
        CurlHttpClient client(limits);
        const auto failure = FailureOf(client, url);
        ASSERT_TRUE(failure);
        EXPECT_TRUE(failure->starts_with("Connection timed out (")) << *failure;
    }
}

TEST_F(HttpClientTest, BodyOverTheLimitIsRefused)
{
    struct Expectation {
        int line;
        std::size_t limit;
        std::size_t size;
        bool chunked;
        std::optional<std::string> failure;
    };
    const std::string kMiB = std::string(1024 * 1024, 'x');
    const Expectation kExpect[] = {
        {__LINE__, 1000, 1000, false, std::nullopt},
        {__LINE__, 1000, 1000, true, std::nullopt},
        {__LINE__, 1000, 1001, false, "Response too large (more than 1000 bytes)"},  // by its length
        {__LINE__, 1000, 1001, true, "Response too large (more than 1000 bytes)"},   // while it comes
        {__LINE__, 1000, 200'000, true, "Response too large (more than 1000 bytes)"},
        {__LINE__, 2 * kMiB.size(), 2 * kMiB.size() + 1, true, "Response too large (more than 2 MiB)"},
        {__LINE__, HttpLimits{}.maxBodyBytes, 16 * kMiB.size() + 1, false, "Response too large (more than 16 MiB)"},
    };
    for (const Expectation& e : kExpect) {
        SCOPED_TRACE(e.line);
        CurlHttpClient client(HttpLimits{kTestLimits.connectTimeout, kTestLimits.totalTimeout, e.limit});
        server_.Serve("/big", Reply{200, std::string(e.size, 'x'), {}, e.chunked});
        EXPECT_EQ(FailureOf(client, server_.Url("/big")), e.failure);
    }
}

// Requests go through the proxy the environment names, as with curl. The proxy sends every
// request to the test's server, so a host that does not exist answers only through it.
TEST(HttpClientProxy, EnvironmentNamesTheProxy)
{
    LoopbackServer server;
    server.Serve("/page", "through the proxy");
    LoopbackServer tlsServer(test::TlsFiles{SKELMAR_FIXTURES "/tls/self-signed.crt", SKELMAR_FIXTURES "/tls/self-signed.key"});
    test::ForwardProxy proxy(server.Port());
    test::ForwardProxy tlsProxy(tlsServer.Port());
    const std::string direct = server.Url("/page");
    const std::string viaProxy = "http://bulletins.invalid/page";

    struct Expectation {
        int line;
        std::vector<std::pair<const char*, std::string>> environment;
        std::string url;
        std::optional<std::string> body;     // on success
        std::optional<std::string> failure;  // otherwise, a part of the message
        std::vector<std::string> proxyLines;  // what the proxy received
    };
    const std::string plain = proxy.Url();
    const std::string tls = tlsProxy.Url();
    const Expectation kExpect[] = {
        {__LINE__, {{"http_proxy", plain}}, viaProxy, "through the proxy", {}, {"GET http://bulletins.invalid/page HTTP/1.1"}},
        {__LINE__, {{"all_proxy", plain}}, viaProxy, "through the proxy", {}, {"GET http://bulletins.invalid/page HTTP/1.1"}},
        {__LINE__, {{"ALL_PROXY", plain}}, viaProxy, "through the proxy", {}, {"GET http://bulletins.invalid/page HTTP/1.1"}},
        // A proxy address without a scheme is an http proxy.
        {__LINE__, {{"http_proxy", plain.substr(7)}}, viaProxy, "through the proxy", {}, {"GET http://bulletins.invalid/page HTTP/1.1"}},
        // HTTP_PROXY in capitals is not read; an http proxy does not serve https addresses.
        {__LINE__, {{"HTTP_PROXY", plain}}, viaProxy, {}, "Host not found: bulletins.invalid", {}},
        {__LINE__, {{"http_proxy", plain}}, "https://bulletins.invalid/page", {}, "Host not found: bulletins.invalid", {}},
        // Hosts that no_proxy names are reached directly.
        {__LINE__, {{"http_proxy", plain}, {"no_proxy", "127.0.0.1"}}, direct, "through the proxy", {}, {}},
        {__LINE__, {{"http_proxy", plain}, {"NO_PROXY", "localhost,127.0.0.1"}}, direct, "through the proxy", {}, {}},
        {__LINE__, {{"http_proxy", plain}, {"no_proxy", "*"}}, viaProxy, {}, "Host not found: bulletins.invalid", {}},
        {__LINE__, {{"http_proxy", plain}, {"no_proxy", "other.invalid"}}, viaProxy, "through the proxy", {},
         {"GET http://bulletins.invalid/page HTTP/1.1"}},
        // https goes through a tunnel, and the server's certificate is still checked: the
        // test server's own is refused.
        {__LINE__, {{"https_proxy", tls}}, "https://bulletins.invalid/page", {}, "certificate",
         {"CONNECT bulletins.invalid:443 HTTP/1.1"}},
        {__LINE__, {{"HTTPS_PROXY", tls}}, "https://bulletins.invalid:8443/page", {}, "certificate",
         {"CONNECT bulletins.invalid:8443 HTTP/1.1"}},
        // A proxy that refuses the connection is a refused connection.
        {__LINE__, {{"http_proxy", "http://127.0.0.1:" + std::to_string(test::ClosedPort())}}, viaProxy, {},
         std::string(kConnectionRefusedMessage), {}},
    };
    std::size_t plainSeen = 0;
    std::size_t tlsSeen = 0;
    for (const Expectation& e : kExpect) {
        SCOPED_TRACE(e.line);
        std::vector<std::unique_ptr<test::ScopedEnvironment>> environment;
        for (const auto& [name, value] : e.environment)
            environment.push_back(std::make_unique<test::ScopedEnvironment>(name, value));
        CurlHttpClient client(kTestLimits);
        std::string body;
        std::optional<std::string> failure;
        try {
            body = client.Get(e.url);
        } catch (const Error& error) {
            failure = error.what();
        }
        if (e.body) {
            EXPECT_FALSE(failure) << *failure;
            EXPECT_EQ(body, *e.body);
        } else {
            ASSERT_TRUE(failure);
            EXPECT_NE(failure->find(*e.failure), std::string::npos) << *failure;
        }
        std::vector<std::string> lines = proxy.RequestLines();
        std::vector<std::string> tlsLines = tlsProxy.RequestLines();
        lines.erase(lines.begin(), lines.begin() + static_cast<std::ptrdiff_t>(plainSeen));
        tlsLines.erase(tlsLines.begin(), tlsLines.begin() + static_cast<std::ptrdiff_t>(tlsSeen));
        plainSeen += lines.size();
        tlsSeen += tlsLines.size();
        lines.insert(lines.end(), tlsLines.begin(), tlsLines.end());
        EXPECT_EQ(lines, e.proxyLines);
    }
    // Nothing reached the TLS server's application: every handshake was refused.
    EXPECT_TRUE(tlsServer.Requests().empty());
}

TEST(HttpClient, CertificateIsChecked)
{
    LoopbackServer server(test::TlsFiles{SKELMAR_FIXTURES "/tls/self-signed.crt", SKELMAR_FIXTURES "/tls/self-signed.key"});
    server.Serve("/bulletin", "secret");
    CurlHttpClient client(kTestLimits);
    const auto failure = FailureOf(client, server.Url("/bulletin"));
    ASSERT_TRUE(failure);
    EXPECT_NE(failure->find("certificate"), std::string::npos) << *failure;
    EXPECT_TRUE(server.Requests().empty());
}

TEST(HttpClientEdgeCases, AnswersOfOtherServers)
{
    struct Expectation {
        int line;
        std::string answer;
        std::optional<std::string> body;     // on success
        std::optional<std::string> failure;  // otherwise
    };
    const Expectation kExpect[] = {
        {__LINE__, "HTTP/1.0 200 OK\r\n\r\nbody up to the end of the connection", "body up to the end of the connection", {}},
        {__LINE__, "HTTP/1.1 200 OK\r\nContent-Length: 2\r\n\r\nokextra", "ok", {}},
        {__LINE__, "HTTP/1.1 404\r\nContent-Length: 0\r\n\r\n", {}, "HTTP/1.1 404"},
        // A body cut short is a failure, not a shorter bulletin.
        {__LINE__, "HTTP/1.1 200 OK\r\nContent-Length: 100\r\n\r\nshort", {},
         "transfer closed with 95 bytes remaining to read"},
        // The server's words cannot pass for a refused connection, nor break the message.
        {__LINE__, "HTTP/1.1 503 Socket Error # 10061\x01\r\nContent-Length: 0\r\n\r\n", {},
         "HTTP/1.1 503 Socket Error %23 10061?"},
    };
    CurlHttpClient client(kTestLimits);
    for (const Expectation& e : kExpect) {
        SCOPED_TRACE(e.line);
        test::RawServer server(e.answer);
        if (e.body)
            EXPECT_EQ(client.Get(server.Url("/")), *e.body);
        else
            EXPECT_EQ(FailureOf(client, server.Url("/")), e.failure);
    }
}

TEST(HttpClientErrorCases, AddressesOtherThanHttp)
{
    struct Expectation {
        int line;
        std::string url;
        std::string failure;
    };
    const Expectation kExpect[] = {
        {__LINE__, "file:///etc/hostname", "Unsupported address (only http and https): file:///etc/hostname"},
        {__LINE__, "FILE:///etc/hostname", "Unsupported address (only http and https): FILE:///etc/hostname"},
        {__LINE__, "ftp://127.0.0.1/x", "Unsupported address (only http and https): ftp://127.0.0.1/x"},
        {__LINE__, "ftp.example.com/x", "Unsupported address (only http and https): ftp.example.com/x"},
        {__LINE__, "gopher://127.0.0.1/", "Unsupported address (only http and https): gopher://127.0.0.1/"},
        {__LINE__, "", "Invalid address: "},
        {__LINE__, "http://", "Invalid address: http://"},
        {__LINE__, "http://a b/\r\n#x", "Invalid address: http://a b/??%23x"},
    };
    CurlHttpClient client(kTestLimits);
    for (const Expectation& e : kExpect) {
        SCOPED_TRACE(e.line);
        EXPECT_EQ(FailureOf(client, e.url), e.failure);
    }
}

}  // namespace
}  // namespace skelmar
