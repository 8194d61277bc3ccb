#include "gallery/DesktopKeystrokes.h"

#include "gallery/GalleryCatalogue.h"

#include <algorithm>
#include <array>

namespace rondelix::DesktopKeystrokes {

namespace {

using GalleryCatalogue::key;
using GalleryCatalogue::system;

constexpr std::array<std::string_view, 10> desktopWheels{
    "gallery-screenshots",   "gallery-capture-clipboard",
    "gallery-power-lock",    "gallery-system-navigation",
    "gallery-windows",       "gallery-app-switching",
    "gallery-settings-help", "gallery-text-editing",
    "gallery-zoom-view",     "gallery-emoji",
};

// A shortcut of KWin's own, by the name Plasma's shortcut settings list it
// under: Plasma's stock keys for these hold Meta, which a keystroke here
// cannot carry.
MacroAction kwinShortcut(std::string_view name) {
    return MacroAction::Script{
        "dbus-send --session --print-reply --type=method_call --dest=org.kde.kglobalaccel "
        "/component/kwin org.kde.kglobalaccel.Component.invokeShortcut string:'" +
        std::string(name) + "' >/dev/null"};
}

// The window manager's "show the desktop" state, for desktops whose stock
// key for it holds Super (X-Cinnamon) or that bind none (GNOME).
MacroAction showDesktopByHint() {
    return MacroAction::Script{"wmctrl -k on"};
}

const KeyCombo* comboOf(const MacroAction& action) {
    const auto* keystroke = action.as<MacroAction::Keystroke>();
    return keystroke ? &keystroke->combo : nullptr;
}

} // namespace

const std::vector<Translation>& table() {
    // The Print key cannot be posted apart from F13, so the screenshot
    // keystrokes open the desktop's screenshot tool, which offers the region,
    // the whole screen and the clipboard. Alt+F4 asks the window to close,
    // and the desktops offer to force quit a window that does not answer.
    static const std::vector<Translation> rows{
        {"Full-screen screenshot", "⇧⌘3", system("screenshot")},
        {"Region screenshot", "⇧⌘4", system("screenshot")},
        {"Full screen to the clipboard", "⌃⇧⌘3", system("screenshot")},
        {"Region to the clipboard", "⌃⇧⌘4", system("screenshot")},
        // Some desktops bind Ctrl+Alt+Delete to shutting down (MATE) or
        // locking (Xfce): the session manager is asked instead.
        {"Log out", "⇧⌘Q", system("log-out")},
        {"Force quit", "⌥⌘⎋", key("⌥F4")},
        {"Show the desktop",
         "F11",
         key("⌃⌥D"),
         {{"KDE", kwinShortcut("Show Desktop")},
          {"GNOME", showDesktopByHint()},
          {"X-Cinnamon", showDesktopByHint()}}},
        {"Search", "⌘Space", key("⌥F1")},
        {"Lock the screen", "⌃⌘Q", system("lock-screen")},
        {"Emoji picker", "⌃⌘Space", system("emoji-picker")},
        {"Overview of all windows", "⌃↑", system("mission-control")},
        {"Windows of the application", "⌃↓", system("mission-control")},
        {"Workspace to the left",
         "⌃←",
         key("⌃⌥←"),
         {{"KDE", kwinShortcut("Switch One Desktop to the Left")}}},
        {"Workspace to the right",
         "⌃→",
         key("⌃⌥→"),
         {{"KDE", kwinShortcut("Switch One Desktop to the Right")}}},
        {"Full screen", "⌃⌘F", key("F11")},
        // GNOME's stock key holds Super.
        {"Minimize",
         "⌘M",
         key("⌥F9"),
         {{"KDE", kwinShortcut("Window Minimize")},
          {"GNOME", MacroAction::Script{"xdotool getactivewindow windowminimize"}}}},
        {"Next window of the application", "⌘`", key("⌥`")},
        {"Previous window of the application", "⇧⌘`", key("⌥⇧`")},
        {"Next application", "⌘⇥", key("⌥⇥")},
        {"Previous application", "⇧⌘⇥", key("⌥⇧⇥")},
        {"Help", "⇧⌘/", key("F1")},
        {"Word to the left", "⌥←", key("⌃←")},
        {"Word to the right", "⌥→", key("⌃→")},
        {"Start of the line", "⌘←", key("↖")},
        {"End of the line", "⌘→", key("↘")},
        {"Select to the end of the word", "⌥⇧→", key("⌃⇧→")},
        {"Delete the word before", "⌥⌫", key("⌃⌫")},
        {"Top of the document", "⌘↑", key("⌃↖")},
        {"End of the document", "⌘↓", key("⌃↘")},
    };
    return rows;
}

const MacroAction& sentOn(const Translation& row, std::string_view desktop) {
    // The first desktop the session names that has a row of its own.
    for (const auto& [name, action] : row.elsewhere)
        if (platform::namesDesktop(desktop, name)) return action;
    return row.sent;
}

bool appliesTo(std::string_view galleryId) {
    return std::find(desktopWheels.begin(), desktopWheels.end(), galleryId) != desktopWheels.end();
}

Wheel adapted(const Wheel& wheel, std::string_view desktop) {
    Wheel result = wheel;
    if (!appliesTo(wheel.id)) return result;
    static const std::vector<KeyCombo> written = [] {
        std::vector<KeyCombo> combos;
        for (const Translation& row : table())
            combos.push_back(*comboOf(key(row.written)));
        return combos;
    }();
    for (Slice& slice : result.slices) {
        const KeyCombo* combo = comboOf(slice.action);
        if (!combo) continue;
        const auto found = std::find(written.begin(), written.end(), *combo);
        if (found != written.end()) slice.action = sentOn(table()[found - written.begin()], desktop);
    }
    return result;
}

} // namespace rondelix::DesktopKeystrokes
