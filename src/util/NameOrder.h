#pragma once

#include <string_view>

namespace rondelix {

// The order a file browser lists names in: letter case is ignored and runs of
// digits compare by their value, so "Wheel 2" comes before "Wheel 10".
// Negative when a sorts first, positive when b does, zero when neither.
int compareNames(std::string_view a, std::string_view b);

inline bool namesAscending(std::string_view a, std::string_view b) {
    return compareNames(a, b) < 0;
}

} // namespace rondelix
