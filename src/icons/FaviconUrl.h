#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace rondelix {

// An absolute link split into the parts the icon fetch needs. The host is
// kept as written (no case folding), the way the fetch must use it.
struct FaviconUrl {
    std::string scheme;
    std::string host;
    std::string port;  // empty for the scheme's default
    std::string path;  // begins with "/"
    std::string query; // with its leading "?", or empty

    // None unless the text is an absolute link with a scheme, "//" and a
    // host made of characters a link may hold there.
    static std::optional<FaviconUrl> parse(std::string_view text);

    // The reference resolved against this link, as a browser resolves a link
    // on the page; none when the result is no valid absolute link.
    std::optional<FaviconUrl> resolved(std::string_view reference) const;

    std::string text() const;

    // The lower-cased extension of the last path segment.
    std::string pathExtension() const;
};

} // namespace rondelix
