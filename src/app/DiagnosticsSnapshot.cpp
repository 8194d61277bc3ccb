#include "app/DiagnosticsSnapshot.h"

#include "app/AppCoordinator.h"
#include "app/DefaultsKeys.h"
#include "app/LaunchBreadcrumb.h"
#include "app/OnboardingState.h"
#include "engine/HotkeyManager.h"
#include "engine/PermissionsCheck.h"
#include "files/FolderEntries.h"
#include "icons/IconStore.h"
#include "model/SummonKey.h"
#include "platform/HomeFolder.h"
#include "platform/InputAccess.h"
#include "platform/LoginItems.h"
#include "platform/Permissions.h"
#include "platform/Screens.h"
#include "platform/Sounds.h"
#include "platform/UserDefaults.h"
#include "platform/Workspace.h"
#include "util/Overloaded.h"

#include <filesystem>
#include <set>
#include <variant>

namespace rondelix {

namespace {

namespace fs = std::filesystem;
using In = DiagnosticsInputs;

std::int64_t sizeOf(const fs::path& file) {
    std::error_code error;
    const auto size = fs::file_size(file, error);
    return error ? -1 : static_cast<std::int64_t>(size);
}

bool present(const fs::path& file) {
    std::error_code error;
    return fs::exists(file, error);
}

// The names in a folder; none when it cannot be listed.
std::vector<std::string> namesIn(const fs::path& folder) {
    std::vector<std::string> names;
    std::error_code error;
    for (fs::directory_iterator it(folder, error), end; !error && it != end; it.increment(error))
        names.push_back(it->path().filename().string());
    return names;
}

std::string withTilde(std::string path, const std::string& home) {
    if (home.empty()) return path;
    for (auto at = path.find(home); at != std::string::npos; at = path.find(home, at + 1))
        path.replace(at, home.size(), "~");
    return path;
}

const char* stepName(OnboardingStep step) {
    switch (step) {
    case OnboardingStep::permissions:
        return "permissions";
    case OnboardingStep::ready:
        return "ready";
    case OnboardingStep::welcome:
        break;
    }
    return "welcome";
}

const char* loginStatusName(platform::LoginItems::Status status) {
    switch (status) {
    case platform::LoginItems::Status::notRegistered:
        return "notRegistered";
    case platform::LoginItems::Status::enabled:
        return "enabled";
    case platform::LoginItems::Status::requiresApproval:
        return "requiresApproval";
    case platform::LoginItems::Status::notFound:
        return "notFound";
    }
    return "unknown";
}

In::TapState tapState(bool installed, bool enabled) {
    if (!installed) return In::TapState::notInstalled;
    return enabled ? In::TapState::enabled : In::TapState::disabled;
}

void countAction(In::ActionCounts& counts, const MacroAction& action) {
    std::visit(Overloaded{
                   [&](const MacroAction::Text&) { ++counts.text; },
                   [&](const MacroAction::Keystroke&) { ++counts.keystroke; },
                   [&](const MacroAction::SystemAction&) { ++counts.system; },
                   [&](const MacroAction::Url&) { ++counts.url; },
                   [&](const MacroAction::Script&) { ++counts.script; },
                   [&](const MacroAction::App&) { ++counts.app; },
                   [&](const MacroAction::Shortcut&) { ++counts.shortcut; },
                   [&](const MacroAction::OpenSettings&) { ++counts.openSettings; },
                   // The report counts the kinds this version offers.
                   [](const MacroAction::Unknown&) {},
               },
               action.value);
}

void gatherScreens(In& in, const platform::Screens& screens) {
    const auto main = screens.mainScreen();
    for (const platform::Screen& s : screens.screens())
        in.screens.push_back({s.frame.x, s.frame.y, s.frame.width, s.frame.height, s.scale,
                              s.visibleFrame.height, main && *main == s});
    const platform::Point mouse = screens.pointerLocation();
    in.mouseX = mouse.x;
    in.mouseY = mouse.y;
    const platform::DisplayOptions options = screens.displayOptions();
    in.reduceTransparency = options.reduceTransparency;
    in.reduceMotion = options.reduceMotion;
    in.increaseContrast = options.increaseContrast;
}

void gatherPermissions(In& in, AppCoordinator& c) {
    const auto& p = c.platform();
    in.inputMonitoringLatched = c.permissions().inputMonitoringTrusted();
    switch (p.inputAccess.listenAccess()) {
    case platform::InputAccess::State::granted:
        in.listenAccess = In::ListenAccess::granted;
        break;
    case platform::InputAccess::State::denied:
        in.listenAccess = In::ListenAccess::denied;
        break;
    case platform::InputAccess::State::undetermined:
        in.listenAccess = In::ListenAccess::unknown;
        break;
    }
    in.accessibilityLatched = c.permissions().accessibilityTrusted();
    in.accessibilityLive = p.permissions.isAccessibilityTrusted();
    const HotkeyManager& engine = c.hotkeyManager();
    in.listenConfirmed = engine.confirmedListenGlobal();
    in.armedConfirmed = engine.confirmedArmedGlobal();
    in.listenTap = tapState(engine.listenTapInstalled(), engine.listenTapEnabled());
    in.armedTap = tapState(engine.armedTapInstalled(), engine.armedTapEnabled());
    in.watchdogStarted = engine.watchdogRunning();
    in.paused = c.paused();
    in.recording = engine.recording();
    in.secureInput = p.taps.isSecureInputEnabled();
    in.onboardingCompleted = p.defaults.get(DefaultsKeys::hasCompletedOnboarding);
    in.onboardingSkipped = p.defaults.get(DefaultsKeys::onboardingSkipped);
    in.rescueReentered = p.defaults.get(DefaultsKeys::onboardingRescueReentered);
    in.resumeStep = stepName(OnboardingState::resumeStep(p.defaults));
}

void gatherConfig(In& in, AppCoordinator& c) {
    const ConfigStore& store = c.configStore();
    const Config& config = store.config();
    const ConfigPaths& paths = store.paths();
    const std::string home = c.platform().home.path().string();
    in.configPath = withTilde(paths.config.string(), home);
    in.fileExists = present(paths.config);
    in.fileBytes = sizeOf(paths.config);
    in.backupExists = present(paths.backup);
    in.backupBytes = sizeOf(paths.backup);
    for (const std::string& name : namesIn(paths.folder))
        in.corruptAside += name.find(".corrupt-") != std::string::npos;
    in.schemaVersion = config.version;
    in.buildSchemaVersion = Config::currentVersion;
    in.readOnly = store.isReadOnly();
    in.loadedCleanly = store.loadedPrimaryCleanly();
    for (const Wheel& wheel : config.wheels) {
        in.wheelFill.emplace_back(static_cast<int>(wheel.slices.size()), wheel.sliceCount);
        in.appBoundWheels += wheel.appBundleIdentifier.has_value();
        in.lastUsedResolves = in.lastUsedResolves || wheel.id == config.lastUsedWheelId;
        for (const Slice& slice : wheel.slices)
            countAction(in.actions, slice.action);
    }

    const auto referenced = IconStore::referencedFilenames(config);
    std::set<std::string> onDisk;
    for (const std::string& name : namesIn(IconStore::directoryIn(c.platform().home.configFolder())))
        if (name.size() > 4 && name.compare(name.size() - 4, 4, ".png") == 0) onDisk.insert(name);
    in.iconsReferenced = static_cast<int>(referenced.size());
    in.iconsOnDisk = static_cast<int>(onDisk.size());
    for (const std::string& name : referenced)
        in.iconsMissing += !onDisk.count(name);

    in.undoDepth = store.history().undoCount();
    in.redoDepth = store.history().redoCount();
    in.watching = store.watching();
    in.reloadPending = store.reloadPending();
    in.glassConfigured = config.behavior.liquidGlassEnabled;
}

void gatherActions(In& in, AppCoordinator& c) {
    const auto& p = c.platform();
    const Behavior& behavior = c.configStore().config().behavior;
    in.shellAvailable = isExecutableFile("/bin/sh");
    in.automationFolder = present(c.configStore().paths().automations);
    in.soundEnabled = behavior.soundEnabled;
    in.soundVolume = behavior.soundVolume;
    in.aimSound = behavior.aimSoundName;
    in.fireSound = behavior.fireSoundName;
    in.aimSoundLoads = p.sounds.named(behavior.aimSoundName) != nullptr;
    in.fireSoundLoads = p.sounds.named(behavior.fireSoundName) != nullptr;
    in.hapticsEnabled = behavior.hapticsEnabled;
    in.shortcutFailedHandler = static_cast<bool>(c.macroExecutor().onShortcutFailed);
    in.openSettingsHandler = static_cast<bool>(c.macroExecutor().onOpenSettings);
}

void gatherLifecycle(In& in, AppCoordinator& c) {
    const auto& p = c.platform();
    const Config& config = c.configStore().config();
    in.regularActivation = c.regularActivation();
    const auto main = p.windows.state(AppWindows::Kind::main);
    in.mainWindow = !main.onScreen() ? In::MainWindowState::absent
                    : main.key       ? In::MainWindowState::key
                                     : In::MainWindowState::notKey;
    in.launchAtLoginConfigured = config.general.launchAtLogin;
    in.loginItemStatus = loginStatusName(p.loginItems.status());
    if (const auto front = p.workspace.frontmostApplication()) {
        bool bound = false;
        for (const Wheel& wheel : config.wheels)
            bound = bound || wheel.appBundleIdentifier == *front;
        in.frontmostBound = bound;
    }
    for (const SummonBinding& binding : config.bindings)
        in.bindings.push_back({SummonKey::comboName(binding.keyCodes, p.keyboardLayout), binding.keyCodes,
                               binding.enabled, binding.holdThresholdMs});
}

} // namespace

DiagnosticsInputs gatherDiagnostics(AppCoordinator& c, const DesktopFacts& desktop, std::int64_t unixTime) {
    In in;
    in.unixTime = unixTime;
    in.version = desktop.version.empty() ? "?" : desktop.version;
    in.systemName = desktop.systemName;
    in.compositor = desktop.compositor;
    in.darkAppearance = desktop.darkAppearance;
    in.lastLaunch = LaunchBreadcrumb::diagnosticsLine(c.platform().defaults);
    gatherScreens(in, c.platform().screens);
    gatherPermissions(in, c);
    in.panelSummary = c.overlayController().diagnosticsSummary();
    gatherConfig(in, c);
    gatherActions(in, c);
    gatherLifecycle(in, c);
    return in;
}

std::string diagnosticsSnapshot(AppCoordinator& c, const DesktopFacts& desktop, std::int64_t unixTime) {
    return diagnosticsReport(gatherDiagnostics(c, desktop, unixTime));
}

} // namespace rondelix
