#include "util/TextClipping.h"

#include "util/GraphemeClusters.h"
#include "util/UnicodeProperties.h"
#include "util/Utf8.h"

namespace rondelix {

namespace {

constexpr std::string_view ellipsis = "\u2026";

bool breaksLine(char32_t scalar) {
    return scalar == U'\n' || scalar == U'\r' || scalar == U'\t' || scalar == 0x2028 || scalar == 0x2029;
}

// The embeddings, overrides and isolates are format characters already;
// named here as well because they are the ones that must never get through.
bool isBidiControl(char32_t scalar) {
    return (scalar >= 0x202A && scalar <= 0x202E) || (scalar >= 0x2066 && scalar <= 0x2069);
}

std::u32string oneLineVisible(std::string_view text) {
    std::u32string scalars;
    scalars.reserve(text.size());
    std::size_t pos = 0;
    while (pos < text.size()) {
        const char32_t scalar = utf8::decodeNext(text, pos);
        if (breaksLine(scalar))
            scalars.push_back(U' ');
        else if (!unicode::isControlOrFormat(scalar) && !isBidiControl(scalar))
            scalars.push_back(scalar);
    }
    return scalars;
}

std::u32string_view trimmed(std::u32string_view scalars) {
    std::size_t begin = 0;
    std::size_t end = scalars.size();
    while (begin < end && unicode::isWhiteSpace(scalars[begin]))
        ++begin;
    while (end > begin && unicode::isWhiteSpace(scalars[end - 1]))
        --end;
    return scalars.substr(begin, end - begin);
}

} // namespace

std::string isolatedForDisplay(std::string_view text) {
    std::u32string scalars;
    scalars.reserve(text.size());
    std::size_t pos = 0;
    while (pos < text.size())
        if (const char32_t scalar = utf8::decodeNext(text, pos); !isBidiControl(scalar))
            scalars.push_back(scalar);
    return "\u2068" + utf8::encode(scalars) + "\u2069";
}

std::string clippedForDisplay(std::string_view text, std::size_t limit) {
    const std::u32string visible = oneLineVisible(text);
    const std::u32string_view scalars = trimmed(visible);

    std::size_t cut = 0;
    for (std::size_t kept = 0; kept < limit && cut < scalars.size(); ++kept)
        cut = nextGraphemeBoundary(scalars, cut);

    std::string clipped = utf8::encode(scalars.substr(0, cut));
    if (cut < scalars.size()) clipped += ellipsis;
    return clipped;
}

} // namespace rondelix
