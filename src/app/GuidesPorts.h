#pragma once

#include "guides/HowItWorksGuide.h"
#include "guides/OnboardingHost.h"
#include "guides/ShortcutSetup.h"

#include <filesystem>

namespace rondelix {

class AppCoordinator;

// The coordinator as the onboarding sees it.
OnboardingHost onboardingHost(AppCoordinator& coordinator);

// The coordinator as the setup window sees it; replacing a user's own
// automation is asked in an alert.
ShortcutSetupHost shortcutSetupHost(AppCoordinator& coordinator);

// The coordinator as the How Rondelix Works guide sees it.
HowItWorksHost howItWorksHost(AppCoordinator& coordinator);

// The automations the program ships: installed beside the executable, or,
// for a build that runs from its build folder, the source tree's data folder.
// Empty when neither is there.
std::filesystem::path shippedAutomationsFolder();

} // namespace rondelix
