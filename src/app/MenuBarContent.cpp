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
    return {MenuRow::Kind::text, std::string(title), MenuCommand::none, false};
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
    rows.push_back(separator());
    rows.push_back(item("Quit", MenuCommand::quit, 'q'));
    return rows;
}

MenuState MenuBarContent::state() const {
    auto& c = coordinator_;
    return {c.permissions().accessibilityTrusted(), c.permissions().inputMonitoringTrusted(),
            c.secureInputBlocking(), c.paused(), !c.missingRequiredShortcuts().empty()};
}

void MenuBarContent::choose(MenuCommand command) {
    auto& c = coordinator_;
    switch (command) {
    case MenuCommand::none:
        break;
    case MenuCommand::grantPermissions:
        c.showOnboarding(OnboardingStep::permissions);
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
    case MenuCommand::quit:
        if (onQuit) onQuit();
        break;
    }
}

} // namespace rondelix
