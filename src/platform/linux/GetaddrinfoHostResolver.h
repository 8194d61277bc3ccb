#pragma once

#include "platform/HostResolver.h"

namespace rondelix::platform::linux_desktop {

// The system resolver (getaddrinfo): hosts files, DNS and whatever else the
// system's name service is set up to ask.
class GetaddrinfoHostResolver final : public HostResolver {
  public:
    std::vector<std::string> addresses(const std::string& host) override;
};

} // namespace rondelix::platform::linux_desktop
