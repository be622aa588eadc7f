#pragma once
// Whether the computer has a network connection at all, asked before every retrieval. Behind
// an interface so that tests (and a machine without network) can answer for the platform.

#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace skelmar {

// The message when the platform cannot be asked; the program's own text.
inline constexpr std::string_view kConnectionCheckUnavailableMessage =
    "Internet Explorer library: WinInet.dll not installed in this computer";

class ConnectionCheck {
public:
    virtual ~ConnectionCheck() = default;
    // True when the platform reports a connection. Throws
    // Error(kConnectionCheckUnavailableMessage) when the platform cannot be asked.
    virtual bool IsConnected() = 0;
};

// One address of one network interface, as the operating system lists them.
struct InterfaceAddress {
    std::string name;
    unsigned flags = 0;       // IFF_UP, IFF_RUNNING, IFF_LOOPBACK, ...
    int family = 0;           // AF_INET, AF_INET6, AF_PACKET, or 0 without an address
    bool linkLocal = false;   // an IPv6 address in fe80::/10
};

// Connected when some interface other than loopback is up, running (has a carrier) and has
// an IPv4 address or an IPv6 address beyond link-local. A link-local IPv6 address appears on
// every interface that is up, so it says nothing about a network beyond the cable.
bool AnyInterfaceConnected(std::span<const InterfaceAddress> addresses);

// One entry per address of each network interface, as getifaddrs lists them. Throws
// Error(kConnectionCheckUnavailableMessage) when the list cannot be read.
std::vector<InterfaceAddress> ReadInterfaceAddresses();

// AnyInterfaceConnected() on ReadInterfaceAddresses().
class InterfaceConnectionCheck final : public ConnectionCheck {
public:
    bool IsConnected() override;
};

}  // namespace skelmar
