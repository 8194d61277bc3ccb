#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string_view>

// Numeric network addresses in their text forms, read as strictly as the
// system's own parser reads them: what it refuses is refused here too.
namespace rondelix {

using IPv4Bytes = std::array<std::uint8_t, 4>;
using IPv6Bytes = std::array<std::uint8_t, 16>;

// Four decimal parts of at most 255 with dots between ("192.0.2.1"); no
// leading zeros, no shorter forms.
std::optional<IPv4Bytes> ipv4FromText(std::string_view text);

// Eight groups of up to four hexadecimal digits with colons between, one
// "::" standing for one or more groups of zeros, the last two groups
// optionally written as an IPv4 address ("::ffff:192.0.2.1"). No zone.
std::optional<IPv6Bytes> ipv6FromText(std::string_view text);

} // namespace rondelix
