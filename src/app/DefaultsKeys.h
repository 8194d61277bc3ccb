#pragma once

#include "platform/UserDefaults.h"

#include <string>

// The user defaults the application shell reads and writes.
namespace rondelix::DefaultsKeys {

using platform::DefaultsKey;

// Launch breadcrumbs.
inline constexpr DefaultsKey<bool> launchInProgress{"diag.launchInProgress"};
inline constexpr DefaultsKey<bool> lastLaunchCompleted{"diag.lastLaunchCompleted"};
inline constexpr DefaultsKey<bool> previousLaunchIncomplete{"diag.previousLaunchIncomplete"};
inline constexpr DefaultsKey<int> incompleteLaunchCount{"diag.incompleteLaunchCount"};
inline constexpr DefaultsKey<int> healthyLaunchStreak{"diag.healthyLaunchStreak"};
inline constexpr DefaultsKey<std::string> currentLaunchOSVersion{"diag.currentLaunchOSVersion"};
inline constexpr DefaultsKey<std::string> lastIncompleteOSVersion{"diag.lastIncompleteOSVersion"};

// Onboarding and the developer page.
inline constexpr DefaultsKey<bool> hasCompletedOnboarding{"hasCompletedOnboarding"};
inline constexpr DefaultsKey<bool> onboardingSkipped{"onboardingSkipped"};
inline constexpr DefaultsKey<int> onboardingResumeStep{"onboardingResumeStep"};
inline constexpr DefaultsKey<bool> onboardingRescueReentered{"onboardingRescueReentered"};
inline constexpr DefaultsKey<bool> onboardingLaunchAtLoginProposed{"onboardingLaunchAtLoginProposed"};
inline constexpr DefaultsKey<bool> devMenuUnlocked{"devMenuUnlocked"};

// Registered at launch; other programs' text fields read it.
inline constexpr DefaultsKey<bool> pressAndHoldEnabled{"ApplePressAndHoldEnabled"};

} // namespace rondelix::DefaultsKeys
