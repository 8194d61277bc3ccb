#include "icons/FaviconUrl.h"

#include "util/Ascii.h"
#include "util/UrlSyntax.h"

#include <algorithm>
#include <vector>

namespace rondelix {

namespace {

bool validHostChar(unsigned char c) {
    return c > 0x20 && c != 0x7F &&
           std::string_view("/\\?#@<>\"`{}|^%").find(static_cast<char>(c)) == std::string_view::npos;
}

bool validPathChar(unsigned char c) {
    return c > 0x20 && c != 0x7F && c != '"' && c != '<' && c != '>' && c != '\\' && c != '`' && c != '{' &&
           c != '}' && c != '|' && c != '^';
}

// Removes "." and ".." segments the way a browser does.
std::string withoutDotSegments(std::string_view path) {
    std::vector<std::string_view> kept;
    std::size_t start = 1;
    while (start <= path.size()) {
        const auto slash = std::min(path.find('/', start), path.size());
        const auto segment = path.substr(start, slash - start);
        const bool last = slash == path.size();
        if (segment == "..") {
            if (!kept.empty()) kept.pop_back();
            if (last) kept.emplace_back();
        } else if (segment == ".") {
            if (last) kept.emplace_back();
        } else {
            kept.push_back(segment);
        }
        start = slash + 1;
    }
    std::string out;
    for (const auto segment : kept) {
        out += '/';
        out += segment;
    }
    return out.empty() ? "/" : out;
}

} // namespace

std::optional<FaviconUrl> FaviconUrl::parse(std::string_view text) {
    const auto colon = text.find("://");
    if (colon == std::string_view::npos || !isUrlScheme(text.substr(0, colon))) return std::nullopt;
    FaviconUrl url;
    url.scheme = std::string(text.substr(0, colon));
    auto rest = text.substr(colon + 3);
    if (const auto fragment = rest.find('#'); fragment != std::string_view::npos)
        rest = rest.substr(0, fragment);
    const auto authorityEnd = std::min(rest.find_first_of("/?"), rest.size());
    auto authority = rest.substr(0, authorityEnd);
    auto tail = rest.substr(authorityEnd);
    // Credentials in a link have no place in an icon request.
    if (authority.find('@') != std::string_view::npos) return std::nullopt;
    if (authority.starts_with('[')) {
        const auto close = authority.find(']');
        if (close == std::string_view::npos) return std::nullopt;
        url.host = std::string(authority.substr(1, close - 1));
        authority = authority.substr(close + 1);
        if (!authority.empty() && authority.front() != ':') return std::nullopt;
        if (!authority.empty()) url.port = std::string(authority.substr(1));
    } else {
        const auto portColon = authority.rfind(':');
        url.host = std::string(authority.substr(0, portColon));
        if (portColon != std::string_view::npos) url.port = std::string(authority.substr(portColon + 1));
    }
    if (url.host.empty() || !std::ranges::all_of(url.host, validHostChar)) return std::nullopt;
    if (!std::ranges::all_of(url.port, isAsciiDigit) || url.port.size() > 5) return std::nullopt;
    const auto queryStart = std::min(tail.find('?'), tail.size());
    const auto path = tail.substr(0, queryStart);
    url.query = std::string(tail.substr(queryStart));
    if (!std::ranges::all_of(path, validPathChar) || !std::ranges::all_of(url.query, validPathChar))
        return std::nullopt;
    url.path = withoutDotSegments(path.empty() ? "/" : path);
    return url;
}

std::optional<FaviconUrl> FaviconUrl::resolved(std::string_view reference) const {
    if (const auto colon = reference.find(':'); colon != std::string_view::npos &&
                                                isUrlScheme(reference.substr(0, colon)) &&
                                                reference.find_first_of("/?#") > colon)
        return parse(reference);
    if (reference.starts_with("//")) return parse(scheme + ":" + std::string(reference));
    const auto origin = scheme + "://" + (host.find(':') != std::string::npos ? "[" + host + "]" : host) +
                        (port.empty() ? "" : ":" + port);
    if (reference.empty() || reference.starts_with('#')) return parse(origin + path + query);
    if (reference.starts_with('?')) return parse(origin + path + std::string(reference));
    if (reference.starts_with('/')) return parse(origin + std::string(reference));
    return parse(origin + path.substr(0, path.rfind('/') + 1) + std::string(reference));
}

std::string FaviconUrl::text() const {
    const auto shownHost = host.find(':') != std::string::npos ? "[" + host + "]" : host;
    return scheme + "://" + shownHost + (port.empty() ? "" : ":" + port) + path + query;
}

std::string FaviconUrl::pathExtension() const {
    const auto segment = path.substr(path.rfind('/') + 1);
    const auto dot = segment.rfind('.');
    if (dot == std::string::npos || dot == 0) return {};
    return asciiLowercased(segment.substr(dot + 1));
}

} // namespace rondelix
