#pragma once

#include <optional>
#include <string_view>

namespace rondelix {

// The server part of "scheme://user@host:port/path": the host as written
// (an IPv6 address keeps its brackets) and whatever stands between it and the
// path, which is empty or ":" followed by the port.
struct UrlAuthority {
    std::string_view host;
    std::string_view afterHost;
};

// A letter, then letters, digits, "+", "-" or ".".
bool isUrlScheme(std::string_view scheme);

// The authority of what follows a link's scheme and its colon, when that
// begins with "//"; nothing otherwise, or when an IPv6 bracket is not closed.
std::optional<UrlAuthority> urlAuthority(std::string_view afterScheme);

} // namespace rondelix
