#pragma once

#include <functional>
#include <string>
#include <vector>

namespace rondelix {

class AppCoordinator;

// What a choice in the menu does.
enum class MenuCommand {
    none,
    grantPermissions,
    togglePause,
    myWheels,
    gallery,
    settings,
    setupGuide,
    setUpSystemActions,
    about,
    quit,
};

struct MenuRow {
    enum class Kind { item, text, separator };

    Kind kind = Kind::item;
    std::string title;
    MenuCommand command = MenuCommand::none;
    bool enabled = true;
    // A key that chooses the row together with the Command key; 0 for none.
    char commandKey = 0;

    friend bool operator==(const MenuRow&, const MenuRow&) = default;
};

// The values the menu is built from.
struct MenuState {
    bool accessibilityTrusted = false;
    bool inputMonitoringTrusted = false;
    bool secureInputBlocking = false;
    bool paused = false;
    bool requiredShortcutsMissing = false;
};

// The program's menu in the system tray: warnings first, then pause, the
// pages of the main window, the guides and quitting. It keeps no state: the
// rows follow the coordinator's values each time they are built.
class MenuBarContent {
  public:
    explicit MenuBarContent(AppCoordinator& coordinator) : coordinator_(coordinator) {}

    static std::vector<MenuRow> rows(const MenuState& state);
    MenuState state() const;
    std::vector<MenuRow> rows() const { return rows(state()); }

    void choose(MenuCommand command);

    // Ends the program; set by the application object.
    std::function<void()> onQuit;

  private:
    AppCoordinator& coordinator_;
};

} // namespace rondelix
