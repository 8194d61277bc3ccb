#include "app/LaunchBreadcrumb.h"

#include "app/DefaultsKeys.h"
#include "platform/MainQueue.h"
#include "platform/UserDefaults.h"

#include <limits>

namespace rondelix::LaunchBreadcrumb {

namespace keys = DefaultsKeys;

namespace {

std::string withoutVersionWord(std::string text) {
    static const std::string word = "Version ";
    for (auto at = text.find(word); at != std::string::npos; at = text.find(word, at))
        text.erase(at, word.size());
    return text;
}

// The counts come from a file the user can edit; the largest one stays put
// rather than overflowing.
int oneMore(int count) {
    return count < std::numeric_limits<int>::max() ? count + 1 : count;
}

} // namespace

void recordLaunchStart(platform::UserDefaults& defaults, platform::MainQueue& queue,
                       const std::string& osVersionText) {
    {
        platform::UserDefaults::Batch batch(defaults);
        const bool previousIncomplete = defaults.get(keys::launchInProgress);
        defaults.set(keys::previousLaunchIncomplete, previousIncomplete);
        if (previousIncomplete) {
            defaults.set(keys::incompleteLaunchCount, oneMore(defaults.get(keys::incompleteLaunchCount)));
            // The version text still stored is the one of the launch that never survived.
            if (const auto version = defaults.get(keys::currentLaunchOSVersion))
                defaults.set(keys::lastIncompleteOSVersion, *version);
            defaults.set(keys::healthyLaunchStreak, 0);
        }
        defaults.set(keys::launchInProgress, true);
        defaults.set(keys::lastLaunchCompleted, false);
        defaults.set(keys::currentLaunchOSVersion, withoutVersionWord(osVersionText));
    }
    queue.after(surviveDelay, [&defaults] { markSurvived(defaults); });
}

void markSurvived(platform::UserDefaults& defaults) {
    if (!defaults.get(keys::launchInProgress)) return;
    platform::UserDefaults::Batch batch(defaults);
    defaults.set(keys::launchInProgress, false);
    defaults.set(keys::lastLaunchCompleted, true);
    int streak = oneMore(defaults.get(keys::healthyLaunchStreak));
    if (streak >= 3) {
        defaults.set(keys::incompleteLaunchCount, 0);
        defaults.remove(keys::lastIncompleteOSVersion);
        streak = 0;
    }
    defaults.set(keys::healthyLaunchStreak, streak);
}

std::string diagnosticsLine(const platform::UserDefaults& defaults) {
    const int count = defaults.get(keys::incompleteLaunchCount);
    std::string suffix;
    if (count >= 1) {
        const auto version = defaults.get(keys::lastIncompleteOSVersion);
        suffix = " (" + std::to_string(count) + " total" +
                 (version ? " — last on " + *version : std::string()) + ")";
    }
    if (defaults.get(keys::previousLaunchIncomplete))
        return "PREVIOUS LAUNCH DID NOT COMPLETE — possible startup crash" + suffix;
    if (defaults.get(keys::lastLaunchCompleted))
        return count < 1 ? "OK" : "OK, but had earlier incomplete launches" + suffix;
    return "launch in progress" + suffix;
}

} // namespace rondelix::LaunchBreadcrumb
