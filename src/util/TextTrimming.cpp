#include "util/TextTrimming.h"

#include "util/UnicodeProperties.h"
#include "util/Utf8.h"

namespace rondelix {

std::string_view trimmedWhitespace(std::string_view text) {
    std::size_t begin = text.size();
    std::size_t end = 0;
    std::size_t pos = 0;
    while (pos < text.size()) {
        const std::size_t start = pos;
        const char32_t scalar = utf8::decodeNext(text, pos);
        if (unicode::isWhiteSpace(scalar)) continue;
        if (begin == text.size()) begin = start;
        end = pos;
    }
    return begin < end ? text.substr(begin, end - begin) : std::string_view{};
}

} // namespace rondelix
