#include "util/NumericAddress.h"

#include "util/Ascii.h"

#include <algorithm>

namespace rondelix {

std::optional<IPv4Bytes> ipv4FromText(std::string_view text) {
    IPv4Bytes bytes{};
    std::size_t part = 0;
    int value = -1; // no digit yet in this part
    for (const char c : text) {
        if (c == '.') {
            if (value < 0 || ++part == bytes.size()) return std::nullopt;
            value = -1;
        } else if (isAsciiDigit(c) && value != 0) {
            value = std::max(value, 0) * 10 + (c - '0');
            if (value > 255) return std::nullopt;
            bytes[part] = static_cast<std::uint8_t>(value);
        } else {
            return std::nullopt;
        }
    }
    if (part != bytes.size() - 1 || value < 0) return std::nullopt;
    return bytes;
}

std::optional<IPv6Bytes> ipv6FromText(std::string_view text) {
    IPv6Bytes bytes{};
    std::size_t filled = 0;
    std::optional<std::size_t> gap; // where "::" stands
    // A lone colon may not lead.
    if (text.starts_with(':') && !text.starts_with("::")) return std::nullopt;
    std::size_t i = text.starts_with("::") ? 1 : 0;
    std::size_t groupStart = i;
    unsigned group = 0;
    int digits = 0;
    for (; i < text.size(); ++i) {
        const char c = text[i];
        if (const int value = asciiHexValue(c); value >= 0) {
            if (++digits > 4) return std::nullopt;
            group = group << 4 | static_cast<unsigned>(value);
            continue;
        }
        if (c == ':') {
            groupStart = i + 1;
            if (digits == 0) {
                if (gap) return std::nullopt;
                gap = filled;
                continue;
            }
            if (i + 1 == text.size() || filled + 2 > bytes.size()) return std::nullopt;
            bytes[filled++] = static_cast<std::uint8_t>(group >> 8);
            bytes[filled++] = static_cast<std::uint8_t>(group);
            group = 0;
            digits = 0;
            continue;
        }
        // The rest is an IPv4 address filling the last four bytes.
        const auto tail =
            c == '.' && filled + 4 <= bytes.size() ? ipv4FromText(text.substr(groupStart)) : std::nullopt;
        if (!tail) return std::nullopt;
        std::copy(tail->begin(), tail->end(), bytes.begin() + static_cast<std::ptrdiff_t>(filled));
        filled += 4;
        digits = 0;
        break;
    }
    if (digits > 0) {
        if (filled + 2 > bytes.size()) return std::nullopt;
        bytes[filled++] = static_cast<std::uint8_t>(group >> 8);
        bytes[filled++] = static_cast<std::uint8_t>(group);
    }
    if (gap) {
        // "::" stands for at least one group.
        if (filled == bytes.size()) return std::nullopt;
        const auto moved = static_cast<std::ptrdiff_t>(filled - *gap);
        std::copy_backward(bytes.begin() + static_cast<std::ptrdiff_t>(*gap),
                           bytes.begin() + static_cast<std::ptrdiff_t>(filled), bytes.end());
        std::fill(bytes.begin() + static_cast<std::ptrdiff_t>(*gap), bytes.end() - moved, 0);
        filled = bytes.size();
    }
    if (filled != bytes.size()) return std::nullopt;
    return bytes;
}

} // namespace rondelix
