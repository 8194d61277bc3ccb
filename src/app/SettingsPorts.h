#pragma once

#include "settings/TestWheelControl.h"

namespace rondelix {

class AppCoordinator;

// The coordinator's test wheel as the settings pages see it.
TestWheelControl testWheelControl(AppCoordinator& coordinator);

} // namespace rondelix
