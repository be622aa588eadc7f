#include "retrieval/ConnectionCheck.h"

#include <algorithm>
#include <cstdlib>

#include <net/if.h>
#include <sys/resource.h>
#include <sys/socket.h>

#include <gtest/gtest.h>

#include "text/Error.h"

namespace skelmar {
namespace {

constexpr unsigned kActive = IFF_UP | IFF_RUNNING;

TEST(AnyInterfaceConnected, Decision)
{
    const InterfaceAddress loopback{"lo", kActive | IFF_LOOPBACK, AF_INET, false};
    const InterfaceAddress loopback6{"lo", kActive | IFF_LOOPBACK, AF_INET6, false};
    struct Expectation {
        int line;
        std::vector<InterfaceAddress> addresses;
        bool connected;
    };
    const Expectation kExpect[] = {
        {__LINE__, {}, false},
        {__LINE__, {loopback, loopback6}, false},
        {__LINE__, {loopback, {"eth0", kActive, AF_INET, false}}, true},
        {__LINE__, {{"eth0", kActive, AF_INET6, false}}, true},
        {__LINE__, {{"eth0", kActive | IFF_BROADCAST | IFF_MULTICAST, AF_INET, false}}, true},
        {__LINE__, {{"eth0", IFF_UP, AF_INET, false}}, false},       // no carrier
        {__LINE__, {{"eth0", IFF_RUNNING, AF_INET, false}}, false},  // switched off
        {__LINE__, {{"eth0", 0, AF_INET, false}}, false},
        {__LINE__, {{"eth0", kActive, AF_INET6, true}}, false},      // link-local only
        {__LINE__, {{"eth0", kActive, AF_PACKET, false}}, false},    // the link, no address
        {__LINE__, {{"eth0", kActive, 0, false}}, false},            // no address at all
        {__LINE__,
         {loopback, {"eth0", kActive, AF_PACKET, false}, {"eth0", kActive, AF_INET6, true},
          {"wlan0", IFF_UP, AF_INET, false}, {"eth1", kActive, AF_INET, false}},
         true},
    };
    for (const Expectation& e : kExpect) {
        SCOPED_TRACE(e.line);
        EXPECT_EQ(AnyInterfaceConnected(e.addresses), e.connected);
    }
}

TEST(InterfaceConnectionCheck, AsksTheSystem)
{
    const std::vector<InterfaceAddress> addresses = ReadInterfaceAddresses();
    EXPECT_TRUE(std::any_of(addresses.begin(), addresses.end(),
                            [](const InterfaceAddress& a) { return a.flags & IFF_LOOPBACK; }));
    InterfaceConnectionCheck check;
    EXPECT_EQ(check.IsConnected(), AnyInterfaceConnected(addresses));
}

// Reads the interface list without room for one more file descriptor, so that it cannot be
// read; exits 0 when that gives the expected error. For a child process only.
[[noreturn]] void ReadWithoutFileDescriptors()
{
    rlimit old{};
    getrlimit(RLIMIT_NOFILE, &old);
    const rlimit none{0, old.rlim_max};
    std::string message;
    setrlimit(RLIMIT_NOFILE, &none);
    try {
        ReadInterfaceAddresses();
    } catch (const Error& error) {
        setrlimit(RLIMIT_NOFILE, &old);  // the sanitizers need descriptors to look at `error`
        message = error.what();
    }
    std::_Exit(message == "Internet Explorer library: WinInet.dll not installed in this computer" ? 0 : 1);
}

TEST(InterfaceConnectionCheckErrorCases, InterfaceListCannotBeRead)
{
    EXPECT_EXIT(ReadWithoutFileDescriptors(), ::testing::ExitedWithCode(0), "");
}

}  // namespace
}  // namespace skelmar
