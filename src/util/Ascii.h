#pragma once

#include <string_view>

namespace rondelix {

// Letter case folded for the ASCII letters only: the same answer in every
// locale, and bytes outside ASCII compared as they are.
bool equalIgnoringCase(std::string_view a, std::string_view b);
bool lessIgnoringCase(std::string_view a, std::string_view b);

} // namespace rondelix
