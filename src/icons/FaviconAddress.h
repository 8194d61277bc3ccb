#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace rondelix {

struct FaviconUrl;

// The host's own text passes the quick filter: not a local name, not an IPv6
// literal, not a numeric form of a private address.
bool isPublicHost(std::string_view host);

// An http or https link whose lower-cased host passes isPublicHost.
bool isFetchableFaviconUrl(const FaviconUrl& url);

// A resolved numeric address (IPv4 dotted or IPv6 text) is globally
// reachable and not this machine's: it lies in no special-purpose range that
// is not globally reachable (private, loopback, link-local, shared,
// documentation, benchmarking, multicast, reserved, IPv4 in IPv6 forms other
// than the well-known NAT64 prefix, whose IPv4 address is judged instead),
// and is none of ownAddresses, the addresses of this machine's interfaces.
// Text that is not a numeric address is refused.
bool isPublicAddress(const std::string& address, const std::vector<std::string>& ownAddresses);

} // namespace rondelix
