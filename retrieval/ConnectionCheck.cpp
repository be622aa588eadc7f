#include "retrieval/ConnectionCheck.h"

#include <memory>
#include <vector>

#include <ifaddrs.h>
#include <net/if.h>
#include <netinet/in.h>
#include <sys/socket.h>

#include "text/Error.h"

namespace skelmar {

bool AnyInterfaceConnected(std::span<const InterfaceAddress> addresses)
{
    for (const InterfaceAddress& address : addresses) {
        const bool active = (address.flags & IFF_UP) && (address.flags & IFF_RUNNING) &&
                            !(address.flags & IFF_LOOPBACK);
        const bool routable =
            address.family == AF_INET || (address.family == AF_INET6 && !address.linkLocal);
        if (active && routable)
            return true;
    }
    return false;
}

std::vector<InterfaceAddress> ReadInterfaceAddresses()
{
    ifaddrs* list = nullptr;
    if (getifaddrs(&list) != 0)
        throw Error(std::string(kConnectionCheckUnavailableMessage));
    const std::unique_ptr<ifaddrs, decltype(&freeifaddrs)> owner(list, &freeifaddrs);

    std::vector<InterfaceAddress> addresses;
    for (const ifaddrs* entry = list; entry; entry = entry->ifa_next) {
        InterfaceAddress address;
        address.name = entry->ifa_name ? entry->ifa_name : "";
        address.flags = entry->ifa_flags;
        if (entry->ifa_addr) {
            address.family = entry->ifa_addr->sa_family;
            if (address.family == AF_INET6) {
                const auto* v6 = reinterpret_cast<const sockaddr_in6*>(entry->ifa_addr);
                address.linkLocal = IN6_IS_ADDR_LINKLOCAL(&v6->sin6_addr);
            }
        }
        addresses.push_back(std::move(address));
    }
    return addresses;
}

bool InterfaceConnectionCheck::IsConnected() { return AnyInterfaceConnected(ReadInterfaceAddresses()); }

}  // namespace skelmar
