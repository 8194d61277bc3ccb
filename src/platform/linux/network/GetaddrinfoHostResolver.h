#pragma once

#include "platform/HostResolver.h"

#include <memory>
#include <mutex>
#include <set>

namespace rondelix::platform::linux_desktop {

// The system resolver (getaddrinfo): hosts files, DNS and whatever else the
// system's name service is set up to ask; the machine's own addresses from
// its interfaces (getifaddrs). A lookup cannot be interrupted, so each runs
// on a thread of its own that the caller waits for; shutDown frees the
// callers at once and lets lookups still under way end unheard.
class GetaddrinfoHostResolver final : public HostResolver {
  public:
    ~GetaddrinfoHostResolver() override;

    std::vector<std::string> addresses(const std::string& host) override;
    std::vector<std::string> ownAddresses() override;

    // Every waiting and every later caller gets no addresses. Any thread.
    void shutDown();

  private:
    struct Lookup;

    std::mutex lock_;
    std::set<std::shared_ptr<Lookup>> waiting_;
    bool closed_ = false;
};

} // namespace rondelix::platform::linux_desktop
