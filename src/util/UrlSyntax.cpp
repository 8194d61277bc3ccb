#include "util/UrlSyntax.h"

#include "util/Ascii.h"
#include "util/TextTrimming.h"

#include <algorithm>

namespace rondelix {

bool isUrlScheme(std::string_view scheme) {
    if (scheme.empty() || !isAsciiLetter(scheme.front())) return false;
    return std::all_of(scheme.begin(), scheme.end(),
                       [](char c) { return isAsciiAlphanumeric(c) || c == '+' || c == '-' || c == '.'; });
}

std::optional<std::string_view> schemeAsWritten(std::string_view link) {
    const std::size_t colon = link.find(':');
    if (colon == std::string_view::npos || !isUrlScheme(link.substr(0, colon))) return std::nullopt;
    return link.substr(0, colon);
}

std::optional<std::string> urlScheme(std::string_view link) {
    if (const auto scheme = schemeAsWritten(link)) return asciiLowercased(*scheme);
    return std::nullopt;
}

bool isUrlCharacter(char c) {
    return isAsciiAlphanumeric(c) ||
           std::string_view("-._~:/?#[]@!$&'()*+,;=").find(c) != std::string_view::npos;
}

bool hasValidPercentEscapes(std::string_view text) {
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] != '%') continue;
        if (i + 2 >= text.size() || !isAsciiHexDigit(text[i + 1]) || !isAsciiHexDigit(text[i + 2]))
            return false;
        i += 2;
    }
    return true;
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

std::optional<std::string> linkHost(std::string_view link) {
    const std::string_view text = trimmedLink(link);
    if (!hasValidPercentEscapes(text)) return std::nullopt;
    for (const char c : text)
        if (c != '%' && !isUrlCharacter(c)) return std::nullopt;
    std::string_view rest = text;
    if (const auto scheme = schemeAsWritten(text)) rest.remove_prefix(scheme->size() + 1);
    const auto authority = urlAuthority(rest);
    // After the host: nothing, or ":" and a port of digits only.
    const auto isPort = [](std::string_view after) {
        return after.empty() ||
               (after.front() == ':' && std::all_of(after.begin() + 1, after.end(), isAsciiDigit));
    };
    if (!authority || !isPort(authority->afterHost) || authority->host.empty()) return std::nullopt;
    return std::string(authority->host);
}

} // namespace rondelix
