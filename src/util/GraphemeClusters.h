#pragma once

#include <cstddef>
#include <string_view>

namespace rondelix {

// Where the user-perceived character (extended grapheme cluster) that starts
// at from ends: combining marks, joined emoji, flags made of two regional
// indicators and Hangul syllables built from jamo each count as one.
// from must itself be a boundary; returns text.size() at the end.
std::size_t nextGraphemeBoundary(std::u32string_view text, std::size_t from);

} // namespace rondelix
