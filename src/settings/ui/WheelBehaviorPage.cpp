#include "settings/ui/WheelBehaviorPage.h"

#include "settings/WheelBehaviorRows.h"

namespace rondelix {

WheelBehaviorPage::WheelBehaviorPage(ConfigStore& store, QWidget* parent) : SettingsPage(store, parent) {
    setObjectName("wheelBehaviorPage");
    addSections(wheelBehaviorSections());
}

} // namespace rondelix
