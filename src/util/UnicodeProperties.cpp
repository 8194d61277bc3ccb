#include "util/UnicodeProperties.h"

#include "util/UnicodeTables.h"
#include "util/Utf8.h"

#include <algorithm>

namespace rondelix::unicode {

namespace {

constexpr std::uint8_t pictographicFlag = 0x10;
constexpr char32_t hangulSyllablesFirst = 0xAC00;
constexpr char32_t hangulSyllablesLast = 0xD7A3;
constexpr char32_t hangulTrailingCount = 28;

// The range holding scalar in a table sorted by first scalar, if any.
template <typename Range, std::size_t N>
const Range* findRange(const std::array<Range, N>& table, char32_t scalar) {
    auto it = std::upper_bound(table.begin(), table.end(), scalar,
                               [](char32_t value, const Range& range) { return value < range.first; });
    if (it == table.begin()) return nullptr;
    --it;
    return scalar <= it->last ? &*it : nullptr;
}

std::uint8_t graphemeValue(char32_t scalar) {
    const auto* range = findRange(unicode_tables::graphemeProperties, scalar);
    return range ? range->value : 0;
}

} // namespace

GraphemeBreak graphemeBreak(char32_t scalar) {
    if (scalar >= hangulSyllablesFirst && scalar <= hangulSyllablesLast) {
        // A syllable without a trailing consonant sits at every 28th place.
        return (scalar - hangulSyllablesFirst) % hangulTrailingCount == 0 ? GraphemeBreak::LV
                                                                          : GraphemeBreak::LVT;
    }
    return static_cast<GraphemeBreak>(graphemeValue(scalar) & 0x0F);
}

bool isExtendedPictographic(char32_t scalar) {
    return (graphemeValue(scalar) & pictographicFlag) != 0;
}

bool isControlOrFormat(char32_t scalar) {
    return findRange(unicode_tables::controlsAndFormats, scalar) != nullptr;
}

bool isWhiteSpace(char32_t scalar) {
    switch (scalar) {
    case 0x0020:
    case 0x0085:
    case 0x00A0:
    case 0x1680:
    case 0x2028:
    case 0x2029:
    case 0x202F:
    case 0x205F:
    case 0x3000:
        return true;
    default:
        return (scalar >= 0x0009 && scalar <= 0x000D) || (scalar >= 0x2000 && scalar <= 0x200A);
    }
}

std::string upperCased(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    std::size_t pos = 0;
    while (pos < text.size()) {
        const char32_t scalar = utf8::decodeNext(text, pos);
        const auto& specials = unicode_tables::specialUpperCases;
        auto special =
            std::lower_bound(specials.begin(), specials.end(), scalar,
                             [](const auto& entry, char32_t value) { return entry.scalar < value; });
        if (special != specials.end() && special->scalar == scalar) {
            for (char32_t upper : special->upper)
                if (upper != 0) utf8::append(out, upper);
            continue;
        }
        const auto* run = findRange(unicode_tables::upperCaseRuns, scalar);
        if (run && (scalar - run->first) % static_cast<char32_t>(run->stride) == 0)
            utf8::append(out, static_cast<char32_t>(static_cast<std::int32_t>(scalar) + run->delta));
        else
            utf8::append(out, scalar);
    }
    return out;
}

} // namespace rondelix::unicode
