#pragma once

#include "model/Config.h"
#include "platform/CurrentDesktop.h"

#include <string_view>
#include <utility>
#include <vector>

// Gallery keystrokes that go to the desktop rather than to an application
// (screenshots, windows and workspaces, switching, power, search, help) are
// written as the other desktop expects them. Sent here as they stand they
// would do something else, some of it harmful (Ctrl+Space switches the input
// method, Ctrl+Alt+Esc turns the pointer into a window killer). This table
// gives each the common Linux desktops' own key for the same command, or the
// system action that does it, and where a desktop's stock bindings differ,
// that desktop's own key or call.
namespace rondelix::DesktopKeystrokes {

struct Translation {
    std::string_view command;
    // The catalogue's keystroke, as shown ("⇧⌘4").
    std::string_view written;
    // What the desktops get instead: a keystroke or a system action.
    MacroAction sent;
    // Desktops (by their XDG_CURRENT_DESKTOP name) whose stock bindings
    // differ, with what each gets: its key, or a call to its window manager.
    std::vector<std::pair<std::string_view, MacroAction>> elsewhere = {};
};

const std::vector<Translation>& table();

// What the row sends on this desktop.
const MacroAction& sentOn(const Translation& row, std::string_view desktop);

// Whether the gallery wheel's keystrokes go to the desktop.
bool appliesTo(std::string_view galleryId);

// The wheel with each keystroke the table names replaced by what is sent
// on the desktop; slices keep their ids, labels and icons.
Wheel adapted(const Wheel& wheel, std::string_view desktop = platform::currentDesktop());

} // namespace rondelix::DesktopKeystrokes
