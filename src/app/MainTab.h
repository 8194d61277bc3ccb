#pragma once

#include <optional>
#include <string>
#include <vector>

namespace rondelix {

// The pages of the main window, in declaration order.
enum class MainTab {
    wheels,
    gallery,
    appearance,
    shortcuts,
    general,
    wheelBehavior,
    soundFeedback,
    about,
    development
};

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

// The page a program target id opens: exact, case-sensitive ids only; no id
// leads to the Development page.
std::optional<MainTab> pageTab(const std::string& targetId);

} // namespace rondelix
