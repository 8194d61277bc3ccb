#pragma once

#include <sstream>
#include <string>
#include <vector>

namespace rondelix::testsupport {

// The text's lines, without their line feeds.
inline std::vector<std::string> linesOf(const std::string& text) {
    std::vector<std::string> lines;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);)
        lines.push_back(line);
    return lines;
}

} // namespace rondelix::testsupport
