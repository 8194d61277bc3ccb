#pragma once

#include <optional>
#include <string_view>

namespace rondelix {

// The Material Icons code point that draws a system symbol name, none for a
// name the program has no glyph for. Filled and outline forms may share one
// where the font has no outline.
std::optional<char16_t> symbolGlyph(std::string_view name);

} // namespace rondelix
