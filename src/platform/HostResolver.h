#pragma once

#include <string>
#include <vector>

namespace rondelix::platform {

// The system's name lookup, and what names must not lead to.
class HostResolver {
  public:
    virtual ~HostResolver() = default;

    // Every numeric address (IPv4 dotted or IPv6 text) the host name resolves
    // to; empty when it resolves to none. Blocks; never call it on the main
    // thread.
    virtual std::vector<std::string> addresses(const std::string& host) = 0;

    // The numeric addresses of this machine's own network interfaces and
    // the broadcast addresses of their subnets as they are now, read afresh
    // on each call so that one that came up since counts.
    virtual std::vector<std::string> ownAddresses() = 0;
};

} // namespace rondelix::platform
