#pragma once
// An HTTP proxy on 127.0.0.1 for tests of the proxy settings, started by the test on a free
// port. It sends every request to one server on 127.0.0.1, whatever host the request names,
// so that a test can ask for a host that does not exist and still get an answer, and tell by
// the recorded request lines that the request came through the proxy:
//  - a request in absolute form ("GET http://host/path HTTP/1.1") goes on in origin form
//    ("GET /path HTTP/1.1") with "Connection: close";
//  - CONNECT opens a tunnel to the server ("HTTP/1.1 200 Connection established"), through
//    which the client speaks TLS with the server itself.
// It serves one connection at a time, each for one request.

#include <mutex>
#include <string>
#include <vector>

#include "tests/support/LoopbackServer.h"

namespace skelmar::test {

class ForwardProxy {
public:
    explicit ForwardProxy(int serverPort);
    ~ForwardProxy();
    ForwardProxy(const ForwardProxy&) = delete;
    ForwardProxy& operator=(const ForwardProxy&) = delete;

    // "http://127.0.0.1:<port>", as the proxy variables name a proxy.
    std::string Url() const;
    // The request line of every request received so far, in order ("CONNECT host:443 HTTP/1.1").
    std::vector<std::string> RequestLines() const;

private:
    void Serve(int client);
    // Copies bytes both ways until the server's side ends or the proxy is being destroyed.
    void Relay(int client, int server);

    int serverPort_;
    mutable std::mutex mutex_;
    std::vector<std::string> requestLines_;
    LoopbackListener listener_;  // last: its thread uses the members above
};

}  // namespace skelmar::test
