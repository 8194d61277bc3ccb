#include "icons/FaviconAddress.h"

#include "icons/FaviconUrl.h"
#include "util/Ascii.h"
#include "util/NumericAddress.h"

#include <algorithm>
#include <charconv>
#include <cstdint>
#include <optional>
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

bool publicIPv4(std::uint8_t a, std::uint8_t b) {
    return !(a == 0 || a == 10 || a == 127 || (a == 169 && b == 254) || (a == 172 && b >= 16 && b <= 31) ||
             (a == 192 && b == 168) || (a == 100 && b >= 64 && b <= 127) || a >= 224);
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

bool isPublicAddress(const std::string& address) {
    if (const auto v4 = ipv4FromText(address)) return publicIPv4((*v4)[0], (*v4)[1]);
    const auto parsed = ipv6FromText(address);
    if (!parsed) return false;
    const IPv6Bytes& v6 = *parsed;
    const bool leadingZeros = std::all_of(v6.begin(), v6.begin() + 10, [](std::uint8_t b) { return b == 0; });
    const bool mapped = leadingZeros && v6[10] == 0xFF && v6[11] == 0xFF;
    const bool compatible = leadingZeros && v6[10] == 0 && v6[11] == 0; // :: and ::1 included
    if (mapped || compatible) return publicIPv4(v6[12], v6[13]);
    if (v6[0] == 0xFF) return false;                           // multicast ff00::/8
    if ((v6[0] & 0xFE) == 0xFC) return false;                  // unique local fc00::/7
    if (v6[0] == 0xFE && (v6[1] & 0xC0) == 0x80) return false; // link-local fe80::/10
    return true;
}

} // namespace rondelix
