#pragma once

#include <string>

namespace rondelix {

namespace platform {
class MainQueue;
class UserDefaults;
} // namespace platform

// Whether earlier launches got through their first seconds, kept in the user
// defaults so that a launch which crashed or was killed is counted by the next.
namespace LaunchBreadcrumb {

inline constexpr double surviveDelay = 5.0;

// Once per launch, as early as possible. `osVersionText` is the system's
// readable version text. Schedules markSurvived() after surviveDelay.
void recordLaunchStart(platform::UserDefaults& defaults, platform::MainQueue& queue,
                       const std::string& osVersionText);

// After surviveDelay and again at termination; only the first call of a
// launch counts.
void markSurvived(platform::UserDefaults& defaults);

// The launch-health line of the diagnostics report.
std::string diagnosticsLine(const platform::UserDefaults& defaults);

} // namespace LaunchBreadcrumb
} // namespace rondelix
