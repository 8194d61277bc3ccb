#include "platform/linux/network/GetaddrinfoHostResolver.h"

#include <algorithm>
#include <arpa/inet.h>
#include <condition_variable>
#include <ifaddrs.h>
#include <net/if.h>
#include <netdb.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <system_error>
#include <thread>

namespace rondelix::platform::linux_desktop {

// What a caller and its lookup thread share; the thread may outlive both
// the caller and the resolver.
struct GetaddrinfoHostResolver::Lookup {
    std::mutex lock;
    std::condition_variable settled;
    bool done = false;
    std::vector<std::string> addresses;
};

namespace {

std::string numeric(const sockaddr* socketAddress) {
    char text[INET6_ADDRSTRLEN] = {};
    const void* address = nullptr;
    if (!socketAddress) return {};
    const int family = socketAddress->sa_family;
    if (family == AF_INET)
        address = &reinterpret_cast<const sockaddr_in*>(socketAddress)->sin_addr;
    else if (family == AF_INET6)
        address = &reinterpret_cast<const sockaddr_in6*>(socketAddress)->sin6_addr;
    if (!address || !inet_ntop(family, address, text, sizeof text)) return {};
    return text;
}

// The broadcast address of an IPv4 address's subnet, from its prefix: an
// address added without one recorded has it all the same. None for a subnet
// of one or two addresses, which has no broadcast address.
std::string subnetBroadcast(const sockaddr* address, const sockaddr* netmask) {
    if (!address || !netmask || address->sa_family != AF_INET || netmask->sa_family != AF_INET) return {};
    const in_addr_t mask = ntohl(reinterpret_cast<const sockaddr_in*>(netmask)->sin_addr.s_addr);
    if (~mask <= 1) return {};
    sockaddr_in broadcast = *reinterpret_cast<const sockaddr_in*>(address);
    broadcast.sin_addr.s_addr |= htonl(~mask);
    return numeric(reinterpret_cast<const sockaddr*>(&broadcast));
}

void addOnce(std::vector<std::string>& list, std::string text) {
    if (!text.empty() && std::ranges::find(list, text) == list.end()) list.push_back(std::move(text));
}

std::vector<std::string> lookUp(const std::string& host) {
    addrinfo hints{};
    hints.ai_family = AF_UNSPEC;
    hints.ai_socktype = SOCK_STREAM;
    addrinfo* found = nullptr;
    if (getaddrinfo(host.c_str(), nullptr, &hints, &found) != 0 || !found) return {};
    std::vector<std::string> result;
    for (const addrinfo* entry = found; entry; entry = entry->ai_next)
        addOnce(result, numeric(entry->ai_addr));
    freeaddrinfo(found);
    return result;
}

} // namespace

GetaddrinfoHostResolver::~GetaddrinfoHostResolver() {
    shutDown();
}

void GetaddrinfoHostResolver::shutDown() {
    std::lock_guard guard(lock_);
    closed_ = true;
    for (const auto& lookup : waiting_) {
        std::lock_guard settling(lookup->lock);
        lookup->done = true;
        lookup->settled.notify_all();
    }
}

std::vector<std::string> GetaddrinfoHostResolver::addresses(const std::string& host) {
    if (host.empty() || host.find('\0') != std::string::npos) return {};
    auto lookup = std::make_shared<Lookup>();
    {
        std::lock_guard guard(lock_);
        if (closed_) return {};
        waiting_.insert(lookup);
    }
    try {
        std::thread([lookup, host] {
            auto found = lookUp(host);
            std::lock_guard guard(lookup->lock);
            if (lookup->done) return;
            lookup->done = true;
            lookup->addresses = std::move(found);
            lookup->settled.notify_all();
        }).detach();
    } catch (const std::system_error&) {
        // No thread to spare: the host resolves to nothing this time.
        std::lock_guard guard(lookup->lock);
        lookup->done = true;
    }

    std::vector<std::string> result;
    {
        std::unique_lock wait(lookup->lock);
        lookup->settled.wait(wait, [&] { return lookup->done; });
        result = lookup->addresses;
    }
    std::lock_guard guard(lock_);
    waiting_.erase(lookup);
    return result;
}

std::vector<std::string> GetaddrinfoHostResolver::ownAddresses() {
    ifaddrs* interfaces = nullptr;
    if (getifaddrs(&interfaces) != 0) return {};
    std::vector<std::string> result;
    for (const ifaddrs* entry = interfaces; entry; entry = entry->ifa_next) {
        addOnce(result, numeric(entry->ifa_addr));
        // A subnet's broadcast address reaches this machine and its
        // neighbours alike; the kernel refuses to connect to it anyway.
        if (entry->ifa_flags & IFF_BROADCAST) addOnce(result, numeric(entry->ifa_broadaddr));
        addOnce(result, subnetBroadcast(entry->ifa_addr, entry->ifa_netmask));
    }
    freeifaddrs(interfaces);
    return result;
}

} // namespace rondelix::platform::linux_desktop
