#include "app/GuidesPorts.h"

#include "app/AppCoordinator.h"
#include "app/DefaultsKeys.h"
#include "model/AutomationWords.h"
#include "platform/Dialogs.h"
#include "platform/HomeFolder.h"
#include "platform/UserDefaults.h"

#include <system_error>

namespace rondelix {

namespace fs = std::filesystem;
namespace keys = DefaultsKeys;

OnboardingHost onboardingHost(AppCoordinator& c) {
    auto& defaults = c.platform().defaults;
    return {.queue = c.platform().queue,
            .permissions = c.permissions(),
            .store = c.configStore(),
            .wheel = c.wheelState(),
            .fire = [&c] { c.feedback().fire(); },
            .nudgeListenTap = [&c] { c.nudgeListenTap(); },
            .saveStep =
                [&defaults](OnboardingStep step) {
                    defaults.set(keys::onboardingResumeStep, static_cast<int>(step));
                },
            .claimLaunchAtLoginProposal =
                [&defaults] {
                    if (defaults.get(keys::onboardingLaunchAtLoginProposed)) return false;
                    defaults.set(keys::onboardingLaunchAtLoginProposed, true);
                    return true;
                },
            .finish = [&c](bool skipped) { c.finishOnboarding(skipped); },
            .summonKeysPhrase = [&c] { return c.summonKeysPhrase(); },
            .trayShown = [&c] { return c.platform().windows.trayShown(); }};
}

ShortcutSetupHost shortcutSetupHost(AppCoordinator& c) {
    return {.queue = c.platform().queue,
            .installed =
                [&c] {
                    const auto& names = c.automations().names();
                    return std::set<std::string>(names.begin(), names.end());
                },
            .refresh = [&c] { c.automations().refresh(); },
            .shippedFolder = shippedAutomationsFolder(),
            .automationsFolder = c.automations().folder(),
            .home = c.platform().home.path(),
            .confirmReplace =
                [&c](const std::string& name) {
                    platform::Alert alert;
                    alert.message = "Replace your " + AutomationWords::named(name).substr(4) + "?";
                    alert.informativeText = "You already have an " + std::string(AutomationWords::singular) +
                                            " with this name. Rondelix's own would take its place.";
                    alert.buttons = {"Replace", "Cancel"};
                    alert.defaultButton = 1;
                    return c.platform().dialogs.runAlert(alert) == 0;
                }};
}

HowItWorksHost howItWorksHost(AppCoordinator& c) {
    return {.store = c.configStore(),
            .summonKeyNames = [&c] { return c.summonKeyNames(); },
            .close = [&c] { c.platform().windows.close(AppWindows::Kind::howItWorks); }};
}

fs::path shippedAutomationsFolder() {
    std::error_code error;
    const fs::path exe = fs::read_symlink("/proc/self/exe", error);
    if (!error)
        for (const fs::path& candidate :
             {exe.parent_path() / "../share/rondelix/shortcuts", exe.parent_path() / "shortcuts"})
            if (fs::is_directory(candidate, error)) return fs::weakly_canonical(candidate, error);
    const fs::path source = fs::path(RONDELIX_SOURCE_DATA_DIR) / "shortcuts";
    if (fs::is_directory(source, error)) return fs::weakly_canonical(source, error);
    return {};
}

} // namespace rondelix
