#pragma once

#include "model/Config.h"

#include <string_view>
#include <vector>

// Gallery keystrokes that go to the desktop rather than to an application
// (screenshots, windows and workspaces, switching, power, search, help) are
// written as the other desktop expects them. Sent here as they stand they
// would do something else, some of it harmful (Ctrl+Space switches the input
// method, Ctrl+Alt+Esc turns the pointer into a window killer). This table
// gives each the common Linux desktops' own key for the same command, or the
// system action that does it where the desktops' stock bindings differ (the
// action knows each desktop's way), so that an official wheel never turns
// into one that runs code.
namespace rondelix::DesktopKeystrokes {

struct Translation {
    std::string_view command;
    // The catalogue's keystroke, as shown ("⇧⌘4").
    std::string_view written;
    // What the desktops get instead: a keystroke or a system action.
    MacroAction sent;
};

const std::vector<Translation>& table();

// Whether the gallery wheel's keystrokes go to the desktop.
bool appliesTo(std::string_view galleryId);

// The wheel with each keystroke the table names replaced by what is sent
// instead; slices keep their ids, labels and icons.
Wheel adapted(const Wheel& wheel);

} // namespace rondelix::DesktopKeystrokes
