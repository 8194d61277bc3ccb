#pragma once

#include <cstdint>
#include <string>
#include <string_view>

// The few character properties that the program needs to cut and clean text
// the way a person sees it, without a full Unicode library.
namespace rondelix::unicode {

enum class GraphemeBreak : std::uint8_t {
    Other,
    CR,
    LF,
    Control,
    Extend,
    ZWJ,
    RegionalIndicator,
    Prepend,
    SpacingMark,
    L,
    V,
    T,
    LV,
    LVT,
};

GraphemeBreak graphemeBreak(char32_t scalar);
bool isExtendedPictographic(char32_t scalar);

// General categories Cc and Cf: the C0 and C1 controls and the invisible
// format characters, bidirectional marks, embeddings and isolates included.
bool isControlOrFormat(char32_t scalar);

// The White_Space property: spaces, tabs and every kind of line break.
bool isWhiteSpace(char32_t scalar);

// Full upper-case mapping, independent of language ("ß" becomes "SS").
std::string upperCased(std::string_view text);

} // namespace rondelix::unicode
