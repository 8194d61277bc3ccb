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

const KeyCombo* comboOf(const MacroAction& action) {
    const auto* keystroke = action.as<MacroAction::Keystroke>();
    return keystroke ? &keystroke->combo : nullptr;
}

} // namespace

const std::vector<Translation>& table() {
    // The screenshot keystrokes open the desktop's screenshot tool, which
    // offers the region, the whole screen and the clipboard on every desktop,
    // where what Print Screen does differs from one desktop to the next.
    // Alt+F4 asks the window to close, and the desktops offer to force quit
    // a window that does not answer.
    static const std::vector<Translation> rows{
        {"Full-screen screenshot", "⇧⌘3", system("screenshot")},
        {"Region screenshot", "⇧⌘4", system("screenshot")},
        {"Full screen to the clipboard", "⌃⇧⌘3", system("screenshot")},
        {"Region to the clipboard", "⌃⇧⌘4", system("screenshot")},
        // Some desktops bind Ctrl+Alt+Delete to shutting down (MATE) or
        // locking (Xfce): the session manager is asked instead.
        {"Log out", "⇧⌘Q", system("log-out")},
        {"Force quit", "⌥⌘⎋", key("⌥F4")},
        {"Show the desktop", "F11", system("show-desktop")},
        {"Search", "⌘Space", key("⌥F1")},
        {"Lock the screen", "⌃⌘Q", system("lock-screen")},
        {"Emoji picker", "⌃⌘Space", system("emoji-picker")},
        {"Overview of all windows", "⌃↑", system("mission-control")},
        {"Windows of the application", "⌃↓", system("mission-control")},
        {"Workspace to the left", "⌃←", system("workspace-left")},
        {"Workspace to the right", "⌃→", system("workspace-right")},
        {"Full screen", "⌃⌘F", key("F11")},
        {"Minimize", "⌘M", system("minimize-window")},
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

bool appliesTo(std::string_view galleryId) {
    return std::find(desktopWheels.begin(), desktopWheels.end(), galleryId) != desktopWheels.end();
}

Wheel adapted(const Wheel& wheel) {
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
        if (found != written.end()) slice.action = table()[found - written.begin()].sent;
    }
    return result;
}

} // namespace rondelix::DesktopKeystrokes
