#pragma once

#include <optional>
#include <string>
#include <string_view>

// The parts of a URL's text that several readers of links need, by the rules
// of RFC 3986 and in ASCII only.
namespace rondelix {

// A letter, then letters, digits, "+", "-" or ".".
bool isUrlScheme(std::string_view scheme);

// The scheme before a link's first colon, as written; nothing when the text
// has no colon or what stands before it is no scheme.
std::optional<std::string_view> schemeAsWritten(std::string_view link);

// The same scheme in lower case, as schemes compare.
std::optional<std::string> urlScheme(std::string_view link);

// Characters a URL may hold as they are: letters, digits and
// "-._~:/?#[]@!$&'()*+,;=". A "%" starts an escape and is none of them.
bool isUrlCharacter(char c);

// Whether every "%" in the text is followed by two hexadecimal digits.
bool hasValidPercentEscapes(std::string_view text);

// The server part of "scheme://user@host:port/path": the host as written
// (an IPv6 address keeps its brackets) and whatever stands between it and the
// path, which is empty or ":" followed by the port.
struct UrlAuthority {
    std::string_view host;
    std::string_view afterHost;
};

// The authority of what follows a link's scheme and its colon, when that
// begins with "//"; nothing otherwise, or when an IPv6 bracket is not closed.
std::optional<UrlAuthority> urlAuthority(std::string_view afterScheme);

// The host of a link that parses as a URL with an authority
// ("scheme://user@host:port/..." or "//host/..."), as written: an IPv6
// address keeps its brackets and escapes stay undecoded, since a decoded one
// could put invisible or reordering characters into a line of text. The
// link is trimmed first (trimmedLink). Nothing for text that does not parse:
// a character a URL may not hold, a broken escape, a port that is not
// digits, no authority or an empty host.
std::optional<std::string> linkHost(std::string_view link);

} // namespace rondelix
