#include "icons/FaviconLinks.h"

#include "icons/Base64.h"
#include "util/Ascii.h"

#include <algorithm>

namespace rondelix {

namespace {

std::size_t findFolded(std::string_view text, std::string_view needle, std::size_t from = 0) {
    if (needle.size() > text.size()) return std::string_view::npos;
    for (auto at = from; at + needle.size() <= text.size(); ++at)
        if (std::equal(needle.begin(), needle.end(), text.begin() + static_cast<std::ptrdiff_t>(at),
                       [](char a, char b) { return asciiLower(a) == asciiLower(b); }))
            return at;
    return std::string_view::npos;
}

std::optional<std::string> percentDecoded(std::string_view text) {
    std::string out;
    for (std::size_t at = 0; at < text.size(); ++at) {
        if (text[at] != '%') {
            out += text[at];
            continue;
        }
        if (at + 2 >= text.size() || !isAsciiHexDigit(text[at + 1]) || !isAsciiHexDigit(text[at + 2]))
            return std::nullopt;
        out += static_cast<char>(std::stoi(std::string(text.substr(at + 1, 2)), nullptr, 16));
        at += 2;
    }
    return out;
}

} // namespace

std::string repairedUtf8(std::string_view bytes) {
    std::string out;
    out.reserve(bytes.size());
    const auto at = [&](std::size_t i) { return static_cast<unsigned char>(bytes[i]); };
    for (std::size_t i = 0; i < bytes.size();) {
        const unsigned char c = at(i);
        std::size_t length = c < 0x80                   ? 1
                             : (c >= 0xC2 && c <= 0xDF) ? 2
                             : (c >= 0xE0 && c <= 0xEF) ? 3
                             : (c >= 0xF0 && c <= 0xF4) ? 4
                                                        : 0;
        bool valid = length != 0 && i + length <= bytes.size();
        for (std::size_t k = 1; valid && k < length; ++k)
            valid = (at(i + k) & 0xC0) == 0x80;
        if (valid && length >= 3) {
            const unsigned char second = at(i + 1);
            valid = !(c == 0xE0 && second < 0xA0) && !(c == 0xED && second > 0x9F) &&
                    !(c == 0xF0 && second < 0x90) && !(c == 0xF4 && second > 0x8F);
        }
        if (valid) {
            out.append(bytes.substr(i, length));
            i += length;
        } else {
            out += "\xEF\xBF\xBD";
            // A broken sequence is replaced up to the first byte that cannot continue it.
            std::size_t k = 1;
            while (length > 1 && k < length && i + k < bytes.size() && (at(i + k) & 0xC0) == 0x80)
                ++k;
            i += length > 1 ? k : 1;
        }
    }
    return out;
}

std::optional<std::string> tagAttribute(std::string_view name, std::string_view tag) {
    const auto at = findFolded(tag, std::string(name) + "=");
    if (at == std::string_view::npos) return std::nullopt;
    const auto start = at + name.size() + 1;
    if (start >= tag.size()) return std::nullopt;
    const char first = tag[start];
    if (first == '"' || first == '\'') {
        const auto close = tag.find(first, start + 1);
        if (close == std::string_view::npos) return std::nullopt;
        return std::string(tag.substr(start + 1, close - start - 1));
    }
    const auto end = std::min(tag.find_first_of(" \t\n\r>", start), tag.size());
    return std::string(tag.substr(start, end - start));
}

std::vector<std::string> iconHrefs(std::string_view html) {
    std::vector<std::string> hrefs;
    std::size_t from = 0;
    while (from < html.size()) {
        const auto start = findFolded(html, "<link", from);
        if (start == std::string_view::npos) break;
        auto end = start + 5;
        char quote = 0;
        for (; end < html.size(); ++end) {
            const char c = html[end];
            if (quote != 0) {
                if (c == quote) quote = 0;
            } else if (c == '"' || c == '\'') {
                quote = c;
            } else if (c == '>') {
                break;
            }
        }
        const auto tag = html.substr(start, end - start);
        const auto rel = tagAttribute("rel", tag);
        if (rel && asciiLowercased(*rel).find("icon") != std::string::npos)
            if (auto href = tagAttribute("href", tag)) hrefs.push_back(std::move(*href));
        from = end + 1;
    }
    return hrefs;
}

bool looksLikeSvg(std::string_view bytes) {
    return findFolded(repairedUtf8(bytes.substr(0, 1024)), "<svg") != std::string_view::npos;
}

std::optional<DataLinkBytes> dataLinkBytes(std::string_view link, GiveUp* giveUp) {
    const auto comma = link.find(',');
    if (comma == std::string_view::npos) return std::nullopt;
    const auto media = asciiLowercased(link.substr(0, comma));
    const auto payload = link.substr(comma + 1);
    DataLinkBytes out;
    if (media.find(";base64") != std::string::npos) {
        auto decoded = Base64::decode(payload, giveUp);
        if (!decoded) return std::nullopt;
        out.bytes = std::move(*decoded);
    } else {
        // Undone escapes that leave no valid UTF-8 count as a failed decoding.
        auto decoded = percentDecoded(payload);
        out.bytes =
            decoded && repairedUtf8(*decoded) == *decoded ? std::move(*decoded) : std::string(payload);
    }
    out.declaredSvg = media.starts_with("data:image/svg") || looksLikeSvg(out.bytes);
    return out;
}

} // namespace rondelix
