#include "icons/EmojiText.h"

#include "util/GraphemeClusters.h"
#include "util/Utf8.h"

namespace rondelix {

namespace {

// Where the last user-perceived character of the text starts.
std::size_t lastCharacterStart(std::u32string_view scalars) {
    std::size_t start = 0;
    for (std::size_t next = 0; next < scalars.size(); next = nextGraphemeBoundary(scalars, next))
        start = next;
    return start;
}

} // namespace

std::string lastCharacter(std::string_view text) {
    const std::u32string scalars = utf8::decode(text);
    return utf8::encode(std::u32string_view(scalars).substr(lastCharacterStart(scalars)));
}

std::string withoutLastCharacter(std::string_view text) {
    const std::u32string scalars = utf8::decode(text);
    return utf8::encode(std::u32string_view(scalars).substr(0, lastCharacterStart(scalars)));
}

std::optional<std::string> oneEmojiReplacement(std::string_view text) {
    std::string last = lastCharacter(text);
    if (last == text) return std::nullopt;
    return last;
}

} // namespace rondelix
