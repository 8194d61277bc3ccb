#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace rondelix {

// Names listed in a sentence read "A", "A or B", "A, B, or C". This is the
// text that follows the name at `index` of `count`; nothing after the last.
std::string_view spokenListSeparator(std::size_t index, std::size_t count);

// The names joined that way.
std::string spokenList(const std::vector<std::string>& names);

} // namespace rondelix
