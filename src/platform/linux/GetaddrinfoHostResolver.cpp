#include "platform/linux/GetaddrinfoHostResolver.h"

#include <algorithm>
#include <arpa/inet.h>
#include <condition_variable>
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

std::vector<std::string> lookUp(const std::string& host) {
    addrinfo hints{};
    hints.ai_family = AF_UNSPEC;
    hints.ai_socktype = SOCK_STREAM;
    addrinfo* found = nullptr;
    if (getaddrinfo(host.c_str(), nullptr, &hints, &found) != 0 || !found) return {};
    std::vector<std::string> result;
    for (const addrinfo* entry = found; entry; entry = entry->ai_next) {
        auto text = numeric(*entry);
        if (!text.empty() && std::ranges::find(result, text) == result.end())
            result.push_back(std::move(text));
    }
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

} // namespace rondelix::platform::linux_desktop
