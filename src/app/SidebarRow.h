#pragma once

#include "catalog/MainTab.h"

#include <optional>
#include <string>
#include <vector>

namespace rondelix {

// One row of the main window's sidebar.
struct SidebarRow {
    std::string label;
    std::string symbol;
    MainTab tab;
    // The section heading the row sits under; none for the top level.
    std::optional<std::string> section;
};

// The sidebar's rows in the order shown; the Development row only while the
// developer page is unlocked.
std::vector<SidebarRow> sidebarRows(bool devMenuUnlocked);

} // namespace rondelix
