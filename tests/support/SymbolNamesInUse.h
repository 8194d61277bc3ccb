#pragma once

#include <string>
#include <vector>

namespace rondelix::testsupport {

struct SymbolUse {
    std::string name;
    std::string where; // e.g. "factory wheel main", "system action lock-screen"
};

// Every symbol name the program draws: the picker's catalogue, the factory
// wheels (current and those only upgrades add), the system-action and
// program-target catalogues, the sidebar, and the symbols the windows draw
// by name. A new catalogue of slices adds its names here.
std::vector<SymbolUse> symbolNamesInUse();

} // namespace rondelix::testsupport
