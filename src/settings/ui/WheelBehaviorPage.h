#pragma once

#include "settings/ui/SettingsPage.h"

namespace rondelix {

// How summoning, aiming, firing, closing and switching wheels behave.
class WheelBehaviorPage : public SettingsPage {
  public:
    WheelBehaviorPage(ConfigStore& store, QWidget* parent);
};

} // namespace rondelix
