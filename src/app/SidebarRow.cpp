#include "app/SidebarRow.h"

namespace rondelix {

std::vector<SidebarRow> sidebarRows(bool devMenuUnlocked) {
    const std::string settings = "Settings";
    std::vector<SidebarRow> rows{
        {"My Wheels", "circle.grid.3x3.fill", MainTab::wheels, std::nullopt},
        {"Wheel Gallery", "square.grid.2x2", MainTab::gallery, std::nullopt},
        {"General", "gearshape", MainTab::general, settings},
        {"Bindings", "keyboard", MainTab::shortcuts, settings},
        {"Wheel Behavior", "slider.horizontal.3", MainTab::wheelBehavior, settings},
        {"Appearance", "paintpalette", MainTab::appearance, settings},
        {"Sound & Feedback", "speaker.wave.2", MainTab::soundFeedback, settings},
        {"About", "info.circle", MainTab::about, settings},
    };
    if (devMenuUnlocked) rows.push_back({"Development", "hammer", MainTab::development, settings});
    return rows;
}

} // namespace rondelix
