#include "platform/linux/GetaddrinfoHostResolver.h"

#include <algorithm>
#include <arpa/inet.h>
#include <memory>
#include <netdb.h>
#include <netinet/in.h>
#include <sys/socket.h>

namespace rondelix::platform::linux_desktop {

namespace {

std::string numeric(const addrinfo& entry) {
    char text[INET6_ADDRSTRLEN] = {};
    const void* address = nullptr;
    if (entry.ai_family == AF_INET)
        address = &reinterpret_cast<const sockaddr_in*>(entry.ai_addr)->sin_addr;
    else if (entry.ai_family == AF_INET6)
        address = &reinterpret_cast<const sockaddr_in6*>(entry.ai_addr)->sin6_addr;
    if (!address || !inet_ntop(entry.ai_family, address, text, sizeof text)) return {};
    return text;
}

} // namespace

std::vector<std::string> GetaddrinfoHostResolver::addresses(const std::string& host) {
    if (host.empty() || host.find('\0') != std::string::npos) return {};
    addrinfo hints{};
    hints.ai_family = AF_UNSPEC;
    hints.ai_socktype = SOCK_STREAM;
    addrinfo* found = nullptr;
    if (getaddrinfo(host.c_str(), nullptr, &hints, &found) != 0 || !found) return {};
    const std::unique_ptr<addrinfo, decltype(&freeaddrinfo)> owned(found, &freeaddrinfo);

    std::vector<std::string> result;
    for (const addrinfo* entry = found; entry; entry = entry->ai_next) {
        auto text = numeric(*entry);
        if (!text.empty() && std::ranges::find(result, text) == result.end())
            result.push_back(std::move(text));
    }
    return result;
}

} // namespace rondelix::platform::linux_desktop
