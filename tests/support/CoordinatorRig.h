#pragma once

#include "app/AppCoordinator.h"
#include "app/AppDelegate.h"
#include "app/DefaultsKeys.h"
#include "model/ConfigCoding.h"
#include "platform/sim/SimAccessibility.h"
#include "platform/sim/SimBackground.h"
#include "platform/sim/SimDialogs.h"
#include "platform/sim/SimEventTaps.h"
#include "platform/sim/SimFileWatcher.h"
#include "platform/sim/SimHomeFolder.h"
#include "platform/sim/SimImages.h"
#include "platform/sim/SimInputAccess.h"
#include "platform/sim/SimKeyboardLayout.h"
#include "platform/sim/SimLog.h"
#include "platform/sim/SimLoginItems.h"
#include "platform/sim/SimMainQueue.h"
#include "platform/sim/SimNotifications.h"
#include "platform/sim/SimPasteboard.h"
#include "platform/sim/SimPermissions.h"
#include "platform/sim/SimProcesses.h"
#include "platform/sim/SimScreens.h"
#include "platform/sim/SimSessionEvents.h"
#include "platform/sim/SimSounds.h"
#include "platform/sim/SimUserDefaults.h"
#include "platform/sim/SimWorkspace.h"
#include "support/SimAppWindows.h"
#include "support/SimHUDSurface.h"
#include "support/SimOverlaySurface.h"
#include "support/StoreRig.h"

#include <memory>

namespace rondelix::testsupport {

// The whole program's logic on the simulated platform, in a temporary home.
// Both permissions are granted and the onboarding is completed unless a test
// says otherwise before open().
struct CoordinatorRig {
    CoordinatorRig() {
        permissions.accessibility = true;
        permissions.listen = true;
        defaults.set(DefaultsKeys::hasCompletedOnboarding, true);
        defaults.set(DefaultsKeys::onboardingSkipped, false);
        screens.layout = {{{0, 0, 1920, 1080}, {0, 0, 1920, 1050}}};
        screens.pointer = {600, 500};
    }

    // With the recording windows, unless a test brings real ones.
    AppCoordinator::Platform platform(AppWindows* realWindows = nullptr) {
        return {.queue = queue,
                .log = log,
                .defaults = defaults,
                .home = homeFolder,
                .watcher = watcher,
                .loginItems = loginItems,
                .pasteboard = pasteboard,
                .workspace = workspace,
                .processes = processes,
                .taps = taps,
                .sounds = sounds,
                .screens = screens,
                .accessibility = accessibility,
                .permissions = permissions,
                .inputAccess = inputAccess,
                .session = session,
                .notifications = notifications,
                .background = background,
                .dialogs = dialogs,
                .images = images,
                .keyboardLayout = layout,
                .escapeMonitor = escape,
                .windows = realWindows ? *realWindows : windows,
                .makeOverlaySurface = panels.factory(),
                .makeHUDSurface = [this] { return std::make_unique<SimHUDSurface>(hud); }};
    }

    AppCoordinator& open() { return open(platform()); }
    AppCoordinator& open(AppCoordinator::Platform p) {
        coordinator = std::make_unique<AppCoordinator>(std::move(p), delegate);
        return *coordinator;
    }
    AppCoordinator& c() { return *coordinator; }
    void writeConfig(const Config& config) {
        testing::writeText(home.path / ".config/rondelix/config.json", writeConfigFile(config));
    }

    platform::sim::SimMainQueue queue;
    platform::sim::SimLog log;
    platform::sim::SimUserDefaults defaults;
    testing::TempHome home;
    platform::sim::SimHomeFolder homeFolder{home.path};
    platform::sim::SimFileWatcher watcher;
    platform::sim::SimLoginItems loginItems;
    platform::sim::SimPasteboard pasteboard;
    platform::sim::SimWorkspace workspace{queue};
    platform::sim::SimProcesses processes{queue};
    platform::sim::SimEventTaps taps{queue};
    platform::sim::SimSounds sounds;
    platform::sim::SimScreens screens;
    platform::sim::SimAccessibility accessibility;
    platform::sim::SimPermissions permissions;
    platform::sim::SimInputAccess inputAccess;
    platform::sim::SimSessionEvents session;
    platform::sim::SimNotifications notifications;
    platform::sim::SimBackground background;
    platform::sim::SimDialogs dialogs;
    platform::sim::SimImages images;
    platform::sim::SimKeyboardLayout layout;
    SimEscapeMonitor escape;
    SimAppWindows windows;
    SimPanelFactory panels;
    std::shared_ptr<SimHUDRecord> hud = std::make_shared<SimHUDRecord>();
    AppDelegate delegate{defaults, queue, "Version 14.5"};
    std::unique_ptr<AppCoordinator> coordinator;
};

} // namespace rondelix::testsupport
