#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace rondelix::platform::linux_desktop {

// The keys of a desktop entry's [Desktop Entry] group that launching and
// recognising an application need.
struct DesktopEntry {
    std::string type;
    std::string name;
    std::string exec;
    std::string startupWMClass;
    std::string categories; // as written: "GTK;System;TerminalEmulator;"
    bool hidden = false;
    // Installed but kept out of the desktop's menus.
    bool noDisplay = false;
    // The desktops it is meant for, or not meant for, as written ("MATE;").
    std::string onlyShowIn;
    std::string notShowIn;

    // None when the text has no [Desktop Entry] group.
    static std::optional<DesktopEntry> parse(std::string_view text);
    // None for anything but a readable regular file of sensible size.
    static std::optional<DesktopEntry> read(const std::string& path);

    bool isApplication() const { return type == "Application" && !hidden; }

    // Whether the entry belongs on the desktop XDG_CURRENT_DESKTOP names;
    // every entry does on a desktop that names none.
    bool shownOn(std::string_view currentDesktop) const;

    // The Exec line split into the program and its arguments by the entry
    // format's quoting rules, with the field codes (%f, %U ...) left out.
    std::vector<std::string> execArguments() const;
};

} // namespace rondelix::platform::linux_desktop
