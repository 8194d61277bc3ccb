#pragma once

#include <string>
#include <string_view>

namespace rondelix {

struct FaviconUrl;

// The host's own text passes the quick filter: not a local name, not an IPv6
// literal, not a numeric form of a private address.
bool isPublicHost(std::string_view host);

// An http or https link whose lower-cased host passes isPublicHost.
bool isFetchableFaviconUrl(const FaviconUrl& url);

// A resolved numeric address (IPv4 dotted or IPv6 text) lies outside every
// private, loopback, link-local, shared, multicast and reserved range, the
// IPv4-mapped and IPv4-compatible IPv6 forms of those included. Text that is
// not a numeric address is refused.
bool isPublicAddress(const std::string& address);

} // namespace rondelix
