#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace rondelix {

// What a link slice's text turns into before anything opens it.
struct LinkText {
    // A link ready for the opener.
    struct Parsed {
        std::string url;
        std::optional<std::string> scheme; // none for a relative reference
    };

    // True when the part before the first ":" is a scheme: not empty, a
    // letter first, then letters, numbers, "+", "-" or ".".
    static bool hasURLScheme(std::string_view text);

    // True for a host name with a dot and an optional path ("example.com/a").
    static bool looksLikeBareWebHost(std::string_view text);

    // Trims as every reader of a link does (trimmedLink), puts "https://" in
    // front of a bare host, and parses; a text that
    // does not parse is tried once more percent-encoded. None when even that
    // fails.
    static std::optional<Parsed> parse(std::string_view text);

    // A file:// link to a local path, every byte but letters, digits, "/"
    // and "-._~" percent-escaped so that no name can change the link's shape.
    static std::string fileLink(std::string_view path);

    // A mailto: link to the address with the query items in order, every
    // byte of a value but letters, digits and "-._~" percent-escaped.
    static std::string mailtoLink(std::string_view address,
                                  const std::vector<std::pair<std::string, std::string>>& query);
};

} // namespace rondelix
