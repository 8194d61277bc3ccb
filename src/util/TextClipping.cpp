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

// White space, and letters and symbols that draw as nothing: the Hangul
// fillers and the blank Braille pattern. A run of them can push what
// follows out of view while looking like nothing at all.
bool looksBlank(char32_t scalar) {
    return breaksLine(scalar) || unicode::isWhiteSpace(scalar) || scalar == 0x115F || scalar == 0x1160 ||
           scalar == 0x3164 || scalar == 0xFFA0 || scalar == 0x2800;
}

// Every run of blank-looking characters shows as one space.
std::u32string oneLineVisible(std::string_view text) {
    std::u32string scalars;
    scalars.reserve(text.size());
    std::size_t pos = 0;
    while (pos < text.size()) {
        const char32_t scalar = utf8::decodeNext(text, pos);
        if (looksBlank(scalar)) {
            if (scalars.empty() || scalars.back() != U' ') scalars.push_back(U' ');
        } else if (!unicode::isControlOrFormat(scalar) && !isBidiControl(scalar)) {
            scalars.push_back(scalar);
        }
    }
    return scalars;
}

std::u32string_view trimmed(std::u32string_view scalars) {
    std::size_t begin = 0;
    std::size_t end = scalars.size();
    while (begin < end && scalars[begin] == U' ')
        ++begin;
    while (end > begin && scalars[end - 1] == U' ')
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
