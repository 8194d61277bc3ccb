#include "icons/FaviconAddress.h"

#include "icons/FaviconUrl.h"
#include "util/Ascii.h"
#include "util/NumericAddress.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cstdint>
#include <optional>
#include <variant>
#include <vector>

namespace rondelix {

namespace {

// A decimal integer with an optional sign, digits only, no overflow.
std::optional<long long> decimal(std::string_view piece) {
    if (!piece.empty() && (piece.front() == '+' || piece.front() == '-')) {
        const bool negative = piece.front() == '-';
        const auto rest = decimal(piece.substr(1));
        if (!rest || piece.size() < 2 || piece[1] == '+' || piece[1] == '-') return std::nullopt;
        return negative ? -*rest : *rest;
    }
    if (piece.empty() || !std::ranges::all_of(piece, isAsciiDigit)) return std::nullopt;
    long long value = 0;
    const auto [end, error] = std::from_chars(piece.data(), piece.data() + piece.size(), value);
    if (error != std::errc() || end != piece.data() + piece.size()) return std::nullopt;
    return value;
}

// A range of addresses: its first bytes and the number of leading bits that
// every address in it shares with them.
template <std::size_t N> struct Range {
    std::array<std::uint8_t, N> start;
    int bits;

    bool holds(const std::array<std::uint8_t, N>& address) const {
        for (int bit = 0; bit < bits; ++bit) {
            const auto index = static_cast<std::size_t>(bit / 8);
            const int mask = 0x80 >> (bit % 8);
            if ((address[index] & mask) != (start[index] & mask)) return false;
        }
        return true;
    }
};

// Ranges of the special-purpose registries whose addresses are not globally
// reachable, with multicast, and the globally reachable exceptions inside
// them.
constexpr Range<4> closedIPv4[] = {
    {{0, 0, 0, 0}, 8},      {{10, 0, 0, 0}, 8},     {{100, 64, 0, 0}, 10}, {{127, 0, 0, 0}, 8},
    {{169, 254, 0, 0}, 16}, {{172, 16, 0, 0}, 12},  {{192, 0, 0, 0}, 24},  {{192, 0, 2, 0}, 24},
    {{192, 88, 99, 0}, 24}, {{192, 168, 0, 0}, 16}, {{198, 18, 0, 0}, 15}, {{198, 51, 100, 0}, 24},
    {{203, 0, 113, 0}, 24}, {{224, 0, 0, 0}, 4},    {{240, 0, 0, 0}, 4},
};
constexpr Range<4> openIPv4[] = {{{192, 0, 0, 9}, 32}, {{192, 0, 0, 10}, 32}};

// Only 2000::/3 holds global unicast addresses; the NAT64 prefix outside it
// is judged by the IPv4 address it carries.
constexpr Range<16> globalUnicast{{0x20}, 3};
constexpr Range<16> nat64{{0x00, 0x64, 0xff, 0x9b}, 96};
constexpr Range<16> closedIPv6[] = {
    {{0x20, 0x01}, 23},             // protocol assignments, Teredo, benchmarking, ORCHID
    {{0x20, 0x01, 0x0d, 0xb8}, 32}, // documentation
    {{0x20, 0x02}, 16},             // 6to4
    {{0x3f, 0xff}, 20},             // documentation
};
constexpr Range<16> openIPv6[] = {
    {{0x20, 0x01, 0x00, 0x01, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0x01}, 128}, // PCP anycast
    {{0x20, 0x01, 0x00, 0x01, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0x02}, 128}, // TURN anycast
    {{0x20, 0x01, 0x00, 0x01, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0x03}, 128}, // DNS-SD SRP anycast
    {{0x20, 0x01, 0x00, 0x03}, 32},                                         // AMT
    {{0x20, 0x01, 0x00, 0x04, 0x01, 0x12}, 48},                             // AS112
    {{0x20, 0x01, 0x00, 0x20}, 28},                                         // ORCHIDv2
    {{0x20, 0x01, 0x00, 0x30}, 28},                                         // drone entity tags
};

template <std::size_t N, std::size_t Closed, std::size_t Open>
bool reachable(const std::array<std::uint8_t, N>& address, const Range<N> (&closed)[Closed],
               const Range<N> (&open)[Open]) {
    const auto holds = [&](const Range<N>& range) { return range.holds(address); };
    return std::ranges::none_of(closed, holds) || std::ranges::any_of(open, holds);
}

// What a connection to the address reaches: the IPv4 address a NAT64 form
// carries, else the address itself.
std::variant<IPv4Bytes, IPv6Bytes> destination(const IPv6Bytes& address) {
    if (!nat64.holds(address)) return address;
    return IPv4Bytes{address[12], address[13], address[14], address[15]};
}

bool ownAddress(const std::variant<IPv4Bytes, IPv6Bytes>& address,
                const std::vector<std::string>& ownAddresses) {
    return std::ranges::any_of(ownAddresses, [&](const std::string& own) {
        if (const auto v4 = ipv4FromText(own)) return address == std::variant<IPv4Bytes, IPv6Bytes>(*v4);
        if (const auto v6 = ipv6FromText(own)) return address == destination(*v6);
        return false;
    });
}

} // namespace

bool isPublicHost(std::string_view host) {
    if (host == "localhost" || host.ends_with(".localhost") || host.ends_with(".local")) return false;
    if (host.find(':') != std::string_view::npos || host.starts_with("0x")) return false;
    if (std::ranges::all_of(host, isAsciiDigit)) return false;
    std::vector<std::string_view> pieces;
    for (std::size_t start = 0; start <= host.size();) {
        const auto dot = std::min(host.find('.', start), host.size());
        if (dot > start) pieces.push_back(host.substr(start, dot - start));
        start = dot + 1;
    }
    std::vector<long long> numbers;
    for (const auto piece : pieces)
        if (const auto number = decimal(piece)) numbers.push_back(*number);
    const bool allNumeric = !pieces.empty() && numbers.size() == pieces.size();
    if (allNumeric && pieces.size() != 4) return false;
    if (allNumeric && std::ranges::all_of(numbers, [](long long n) { return n >= 0 && n <= 255; })) {
        const auto a = numbers[0];
        const auto b = numbers[1];
        if (a == 0 || a == 10 || a == 127 || (a == 169 && b == 254) || (a == 172 && b >= 16 && b <= 31) ||
            (a == 192 && b == 168))
            return false;
    }
    return true;
}

bool isFetchableFaviconUrl(const FaviconUrl& url) {
    const auto scheme = asciiLowercased(url.scheme);
    if (scheme != "http" && scheme != "https") return false;
    const auto host = asciiLowercased(url.host);
    return !host.empty() && isPublicHost(host);
}

bool isPublicAddress(const std::string& address, const std::vector<std::string>& ownAddresses) {
    std::variant<IPv4Bytes, IPv6Bytes> target;
    if (const auto v4 = ipv4FromText(address))
        target = *v4;
    else if (const auto v6 = ipv6FromText(address))
        target = destination(*v6);
    else
        return false;
    if (ownAddress(target, ownAddresses)) return false;
    if (const auto* v4 = std::get_if<IPv4Bytes>(&target)) return reachable(*v4, closedIPv4, openIPv4);
    const auto& v6 = std::get<IPv6Bytes>(target);
    return globalUnicast.holds(v6) && reachable(v6, closedIPv6, openIPv6);
}

} // namespace rondelix
