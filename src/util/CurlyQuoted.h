#pragma once

#include <string>
#include <string_view>

namespace rondelix {

// A name as the program's sentences quote it: “name”.
inline std::string curlyQuoted(std::string_view name) {
    return "\u201C" + std::string(name) + "\u201D";
}

} // namespace rondelix
