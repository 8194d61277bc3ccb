#pragma once

#include "settings/BindingsHost.h"
#include "settings/GeneralSettings.h"
#include "settings/TestWheelControl.h"

#include <memory>

namespace rondelix {

class AppCoordinator;

// The coordinator's test wheel as the settings pages see it.
TestWheelControl testWheelControl(AppCoordinator& coordinator);

// The recording slot, the main window's presence and the setup window, for
// the binding rows.
std::shared_ptr<BindingsHost> bindingsHost(AppCoordinator& coordinator);

// What resetting to the defaults asks of the shell beyond the store.
GeneralSettings::ShellHooks generalShellHooks(AppCoordinator& coordinator);

} // namespace rondelix
