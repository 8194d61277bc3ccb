#pragma once

#include "model/OnboardingStep.h"

#include <functional>
#include <string>

namespace rondelix {

namespace platform {
class MainQueue;
}

class ConfigStore;
class PermissionsCheck;
class WheelState;

// What the onboarding needs of the application shell, which owns all of it.
struct OnboardingHost {
    platform::MainQueue& queue;
    PermissionsCheck& permissions;
    ConfigStore& store;
    WheelState& wheel;
    // The fire sound and haptic, as the settings allow them.
    std::function<void()> fire;
    // Reinstalls the listen tap where that can help.
    std::function<void()> nudgeListenTap;
    // Remembers the step the window reopens at.
    std::function<void(OnboardingStep)> saveStep;
    // True only the first time it is asked for this user: launch at login is
    // proposed once, and the answer is remembered before anything changes.
    std::function<bool()> claimLaunchAtLoginProposal;
    // Ends the onboarding and closes its window.
    std::function<void(bool skipped)> finish;
    // The summon keys as one phrase ("Left Alt or Right Ctrl").
    std::function<std::string()> summonKeysPhrase;
    // Whether the desktop shows the program's tray icon.
    std::function<bool()> trayShown;
};

} // namespace rondelix
