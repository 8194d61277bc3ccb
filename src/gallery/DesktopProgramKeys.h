#pragma once

#include "model/Config.h"

#include <string_view>
#include <vector>

// A gallery wheel for a role (files, pictures, documents) sends the keys the
// role's common programs share, and where they differ, those of most of them.
// Where a desktop's own program for the role takes other keys for a slice's
// command, a wheel tried or added on that desktop sends its program's instead:
// the program the wheel opens for there (the window manager, for the window
// wheel). Where that program has no key for the command at all, the slot does
// the nearest thing it has a key for, under its own label, or stays empty.
namespace rondelix::DesktopProgramKeys {

struct Change {
    // The desktop as XDG_CURRENT_DESKTOP names it.
    std::string_view desktop;
    std::string_view galleryId;
    // The slice as the catalogue labels it.
    std::string_view label;
    // What it becomes there; the symbol stays where none is given.
    std::string_view newLabel;
    std::string_view newSymbol;
    // The keystroke, written as the catalogue writes its own ("⌘]"); none
    // leaves the slot empty.
    std::string_view written;
};

const std::vector<Change>& table();

// The gallery wheel as it is sent on the desktop that XDG_CURRENT_DESKTOP
// names; unchanged where the desktop's program takes the shared keys.
Wheel adapted(const Wheel& wheel, std::string_view currentDesktop);

} // namespace rondelix::DesktopProgramKeys
