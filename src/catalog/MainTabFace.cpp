#include "catalog/MainTabFace.h"

namespace rondelix {

MainTabFace mainTabFace(MainTab tab) {
    switch (tab) {
    case MainTab::wheels:
        return {"My Wheels", "circle.grid.3x3.fill"};
    case MainTab::gallery:
        return {"Wheel Gallery", "square.grid.2x2"};
    case MainTab::appearance:
        return {"Appearance", "paintpalette"};
    case MainTab::shortcuts:
        return {"Bindings", "keyboard"};
    case MainTab::general:
        return {"General", "gearshape"};
    case MainTab::wheelBehavior:
        return {"Wheel Behavior", "slider.horizontal.3"};
    case MainTab::soundFeedback:
        return {"Sound & Feedback", "speaker.wave.2"};
    case MainTab::about:
        return {"About", "info.circle"};
    case MainTab::development:
        break;
    }
    return {"Development", "hammer"};
}

} // namespace rondelix
