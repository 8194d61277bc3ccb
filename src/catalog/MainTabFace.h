#pragma once

#include "catalog/MainTab.h"

namespace rondelix {

// How a page of the main window is shown wherever it is named: its title and
// symbol in the sidebar, and a slice that opens it.
struct MainTabFace {
    const char* title;
    const char* symbol;
};

MainTabFace mainTabFace(MainTab tab);

} // namespace rondelix
