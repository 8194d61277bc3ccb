#include "util/TextTrimming.h"

#include "util/UnicodeProperties.h"
#include "util/Utf8.h"

namespace rondelix {

namespace {

// Characters that show nothing yet are neither white space nor a format
// character: the Hangul fillers, the combining grapheme joiner and the
// variation selectors.
bool isBlankFiller(char32_t scalar) {
    return scalar == 0x034F || scalar == 0x115F || scalar == 0x1160 || scalar == 0x3164 || scalar == 0xFFA0 ||
           (scalar >= 0x180B && scalar <= 0x180F) || (scalar >= 0xFE00 && scalar <= 0xFE0F) ||
           (scalar >= 0xE0100 && scalar <= 0xE01EF);
}

bool isInvisible(char32_t scalar) {
    return unicode::isWhiteSpace(scalar) || unicode::isControlOrFormat(scalar) || isBlankFiller(scalar);
}

template <typename Trimmable> std::string_view trimmedWhere(std::string_view text, Trimmable trimmable) {
    std::size_t begin = text.size();
    std::size_t end = 0;
    std::size_t pos = 0;
    while (pos < text.size()) {
        const std::size_t start = pos;
        const char32_t scalar = utf8::decodeNext(text, pos);
        if (trimmable(scalar)) continue;
        if (begin == text.size()) begin = start;
        end = pos;
    }
    return begin < end ? text.substr(begin, end - begin) : std::string_view{};
}

} // namespace

std::string_view trimmedWhitespace(std::string_view text) {
    return trimmedWhere(text, unicode::isWhiteSpace);
}

std::string_view trimmedLink(std::string_view text) {
    return trimmedWhere(text, isInvisible);
}

} // namespace rondelix
