#pragma once

#include <string>

namespace rondelix {

// Where a desktop keeps its GTK theme and its window manager's theme, as
// commands that print the name (quoted or not) and take a new one last.
struct ThemeSettings {
    std::string gtkRead;
    std::string gtkWrite;
    std::string windowManagerRead;
    std::string windowManagerWrite;
    // The folder inside a theme that holds its window manager part.
    std::string windowManagerFolder;
    // The desktop's stock themes to fall back on, most fitting first.
    std::string stockDark;
    std::string stockLight;
};

// A shell command that switches the GTK theme between light and dark, to a
// theme that is installed: the current theme's own dark variant, else the
// desktop's stock dark theme; back to the light theme it came from. The
// window manager's theme follows where a counterpart is installed. With no
// theme to switch to it changes nothing and says so on its error output.
std::string darkThemeSwitchCommand(const ThemeSettings& settings);

// A shell command that switches Plasma's colour scheme to Breeze Dark, and
// from it back to the scheme it came from (Breeze Light when that is unknown
// or gone).
std::string darkColorSchemeSwitchCommand();

} // namespace rondelix
