#include "util/UrlAuthority.h"

#include <algorithm>

namespace rondelix {

namespace {

bool isAsciiAlpha(char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
}

bool isAsciiDigit(char c) {
    return c >= '0' && c <= '9';
}

} // namespace

bool isUrlScheme(std::string_view scheme) {
    if (scheme.empty() || !isAsciiAlpha(scheme.front())) return false;
    return std::all_of(scheme.begin(), scheme.end(), [](char c) {
        return isAsciiAlpha(c) || isAsciiDigit(c) || c == '+' || c == '-' || c == '.';
    });
}

std::optional<UrlAuthority> urlAuthority(std::string_view afterScheme) {
    if (!afterScheme.starts_with("//")) return std::nullopt;
    afterScheme.remove_prefix(2);
    std::string_view authority = afterScheme.substr(0, afterScheme.find_first_of("/?#"));
    if (const auto at = authority.rfind('@'); at != std::string_view::npos) authority.remove_prefix(at + 1);
    if (authority.starts_with('[')) {
        const auto close = authority.find(']');
        if (close == std::string_view::npos) return std::nullopt;
        return UrlAuthority{authority.substr(0, close + 1), authority.substr(close + 1)};
    }
    const auto colon = authority.find(':');
    if (colon == std::string_view::npos) return UrlAuthority{authority, {}};
    return UrlAuthority{authority.substr(0, colon), authority.substr(colon)};
}

} // namespace rondelix
