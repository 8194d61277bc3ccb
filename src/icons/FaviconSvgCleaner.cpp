#include "icons/FaviconSvgCleaner.h"

#include "icons/FaviconLinks.h"
#include "util/Ascii.h"

#include <algorithm>

namespace rondelix {

namespace {

bool startsFolded(std::string_view text, std::size_t at, std::string_view prefix) {
    return at + prefix.size() <= text.size() &&
           std::equal(prefix.begin(), prefix.end(), text.begin() + static_cast<std::ptrdiff_t>(at),
                      [](char a, char b) { return asciiLower(a) == asciiLower(b); });
}

bool isSpace(char c) {
    return c == ' ' || c == '\t' || c == '\n' || c == '\r';
}

bool isNameChar(char c) {
    return isAsciiAlphanumeric(c) || c == '-' || c == '_' || c == ':' || c == '.';
}

// The end of a declaration starting at "<!", skipping a bracketed internal
// subset and quoted text.
std::size_t declarationEnd(std::string_view text, std::size_t at) {
    int depth = 0;
    char quote = 0;
    for (auto i = at + 2; i < text.size(); ++i) {
        const char c = text[i];
        if (quote != 0) {
            if (c == quote) quote = 0;
        } else if (c == '"' || c == '\'') {
            quote = c;
        } else if (c == '[') {
            ++depth;
        } else if (c == ']') {
            depth = std::max(0, depth - 1);
        } else if (c == '>' && depth == 0) {
            return i + 1;
        }
    }
    return text.size();
}

bool safeReference(std::string_view value, const std::function<bool(std::string_view)>& acceptsPicture) {
    std::size_t start = 0;
    while (start < value.size() && (isSpace(value[start]) || value[start] == '"' || value[start] == '\''))
        ++start;
    const auto trimmed = value.substr(start);
    if (trimmed.starts_with('#')) return true;
    if (!startsFolded(trimmed, 0, "data:")) return false;
    const auto inline_ = dataLinkBytes(trimmed);
    if (!inline_) return false;
    // A drawing inside a drawing could carry its own outside links.
    if (inline_->declaredSvg) return false;
    return acceptsPicture(inline_->bytes);
}

// Rewrites url(...) references and drops @import rules in style text.
std::string cleanedStyle(std::string_view text, const std::function<bool(std::string_view)>& acceptsPicture) {
    std::string out;
    for (std::size_t i = 0; i < text.size();) {
        if (startsFolded(text, i, "@import")) {
            const auto end = text.find(';', i);
            i = end == std::string_view::npos ? text.size() : end + 1;
            continue;
        }
        if (startsFolded(text, i, "url(")) {
            const auto close = text.find(')', i);
            const auto end = close == std::string_view::npos ? text.size() : close + 1;
            const auto inner =
                text.substr(i + 4, (close == std::string_view::npos ? text.size() : close) - i - 4);
            out += safeReference(inner, acceptsPicture) ? std::string(text.substr(i, end - i)) : "none";
            i = end;
            continue;
        }
        out += text[i++];
    }
    return out;
}

} // namespace

std::string cleanedSvg(std::string_view svg,
                       const std::function<bool(std::string_view bytes)>& acceptsPicture) {
    std::string out;
    out.reserve(svg.size());
    for (std::size_t i = 0; i < svg.size();) {
        if (startsFolded(svg, i, "<!doctype") || startsFolded(svg, i, "<!entity")) {
            i = declarationEnd(svg, i);
            continue;
        }
        if (startsFolded(svg, i, "<?xml-stylesheet")) {
            const auto end = svg.find("?>", i);
            i = end == std::string_view::npos ? svg.size() : end + 2;
            continue;
        }
        // An attribute: a name after white space, "=", a quoted value.
        if (isSpace(svg[i])) {
            auto nameStart = i;
            while (nameStart < svg.size() && isSpace(svg[nameStart]))
                ++nameStart;
            auto nameEnd = nameStart;
            while (nameEnd < svg.size() && isNameChar(svg[nameEnd]))
                ++nameEnd;
            auto eq = nameEnd;
            while (eq < svg.size() && isSpace(svg[eq]))
                ++eq;
            if (nameEnd > nameStart && eq < svg.size() && svg[eq] == '=') {
                auto valueStart = eq + 1;
                while (valueStart < svg.size() && isSpace(svg[valueStart]))
                    ++valueStart;
                if (valueStart < svg.size() && (svg[valueStart] == '"' || svg[valueStart] == '\'')) {
                    const auto close = svg.find(svg[valueStart], valueStart + 1);
                    const auto valueEnd = close == std::string_view::npos ? svg.size() : close;
                    const auto end = close == std::string_view::npos ? svg.size() : close + 1;
                    const std::string name = asciiLowercased(svg.substr(nameStart, nameEnd - nameStart));
                    const auto value = svg.substr(valueStart + 1, valueEnd - valueStart - 1);
                    const bool link = name == "href" || name.ends_with(":href") || name == "src";
                    if (link && !safeReference(value, acceptsPicture)) {
                        i = end;
                        continue;
                    }
                    out += svg.substr(i, valueStart + 1 - i);
                    out += cleanedStyle(value, acceptsPicture);
                    if (close != std::string_view::npos) out += svg[valueStart];
                    i = end;
                    continue;
                }
            }
        }
        if (startsFolded(svg, i, "@import") || startsFolded(svg, i, "url(")) {
            // Style element text: clean up to the next tag.
            const auto end = std::min(svg.find('<', i), svg.size());
            out += cleanedStyle(svg.substr(i, end - i), acceptsPicture);
            i = end;
            continue;
        }
        out += svg[i++];
    }
    return out;
}

} // namespace rondelix
