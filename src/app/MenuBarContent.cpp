#include "app/MenuBarContent.h"

#include "app/AppCoordinator.h"
#include "engine/PermissionsCheck.h"

namespace rondelix {

namespace {

MenuRow item(std::string_view title, MenuCommand command, char key = 0) {
    MenuRow row;
    row.title.assign(title);
    row.command = command;
    row.commandKey = key;
    return row;
}

MenuRow text(std::string_view title) {
    MenuRow row;
    row.kind = MenuRow::Kind::text;
    row.title.assign(title);
    row.enabled = false;
    return row;
}

MenuRow separator() {
    MenuRow row;
    row.kind = MenuRow::Kind::separator;
    return row;
}

} // namespace

std::vector<MenuRow> MenuBarContent::rows(const MenuState& state) {
    std::vector<MenuRow> rows;
    if (!(state.accessibilityTrusted && state.inputMonitoringTrusted)) {
        rows.push_back(item("⚠︎ Grant Permissions…", MenuCommand::grantPermissions));
        rows.push_back(separator());
    }
    if (state.scheduledUpdatePending) {
        std::string title = "Update available: ";
        title.append(*state.scheduledUpdatePending).append("…");
        rows.push_back(item(title, MenuCommand::attendToUpdate));
        rows.push_back(separator());
    }
    if (state.secureInputBlocking) {
        rows.push_back(text("⚠︎ Summon key blocked: another program holds the keyboard"));
        rows.push_back(separator());
    }
    if (state.paused) {
        rows.push_back(text("Paused. The wheel won't open. Resumes when you relaunch."));
        rows.push_back(item("Resume Rondelix", MenuCommand::togglePause));
    } else {
        rows.push_back(item("Pause Rondelix", MenuCommand::togglePause));
    }
    rows.push_back(separator());
    rows.push_back(item("My Wheels…", MenuCommand::myWheels));
    rows.push_back(item("Wheel Gallery…", MenuCommand::gallery));
    rows.push_back(item("Settings…", MenuCommand::settings, ','));
    rows.push_back(separator());
    rows.push_back(item("Setup Guide…", MenuCommand::setupGuide));
    rows.push_back(
        item(state.requiredShortcutsMissing ? "⚠︎ Set Up System Actions…" : "Set Up System Actions…",
             MenuCommand::setUpSystemActions));
    rows.push_back(item("About Rondelix", MenuCommand::about));
    if (!state.updatesFromSystem) {
        MenuRow check = item("Check for Updates…", MenuCommand::checkForUpdates);
        check.enabled = state.canStandardCheck;
        rows.push_back(check);
    }
    rows.push_back(separator());
    rows.push_back(item("Quit", MenuCommand::quit, 'q'));
    return rows;
}

MenuState MenuBarContent::state() const {
    auto& c = coordinator_;
    return {c.permissions().accessibilityTrusted(),
            c.permissions().inputMonitoringTrusted(),
            c.updater().scheduledUpdatePending(),
            c.secureInputBlocking(),
            c.paused(),
            !c.missingRequiredShortcuts().empty(),
            c.updater().canStandardCheck(),
            c.updater().updater().unavailableReason().has_value()};
}

void MenuBarContent::choose(MenuCommand command) {
    auto& c = coordinator_;
    switch (command) {
    case MenuCommand::none:
        break;
    case MenuCommand::grantPermissions:
        c.showOnboarding(OnboardingStep::permissions);
        break;
    case MenuCommand::attendToUpdate:
        if (c.updater().scheduledUpdatePending()) c.updater().setScheduledUpdatePending(std::nullopt);
        c.updater().updater().checkForUpdates();
        break;
    case MenuCommand::togglePause:
        c.togglePause(false);
        break;
    case MenuCommand::myWheels:
        c.showMain(MainTab::wheels);
        break;
    case MenuCommand::gallery:
        c.showMain(MainTab::gallery);
        break;
    case MenuCommand::settings:
        c.showMain(MainTab::appearance);
        break;
    case MenuCommand::setupGuide:
        c.showOnboarding(OnboardingStep::welcome);
        break;
    case MenuCommand::setUpSystemActions:
        c.showShortcutSetup(std::nullopt);
        break;
    case MenuCommand::about:
        c.showMain(MainTab::about);
        break;
    case MenuCommand::checkForUpdates:
        c.updater().updater().checkForUpdates();
        break;
    case MenuCommand::quit:
        if (onQuit) onQuit();
        break;
    }
}

} // namespace rondelix
