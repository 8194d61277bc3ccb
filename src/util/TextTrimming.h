#pragma once

#include <string_view>

namespace rondelix {

// The text without white space and line breaks at either end. Ill-formed
// bytes count as text, never as white space.
std::string_view trimmedWhitespace(std::string_view text);

} // namespace rondelix
