#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace rondelix::platform::linux_desktop {

// What an application identifier of another platform stands for here: the
// kind of program, when the desktop keeps a default for it, and the desktop
// ids of the common programs of that kind on GNOME, KDE, Xfce, MATE and
// Cinnamon, then the Flatpak ids of the well-known cross-platform ones.
struct ApplicationEquivalent {
    enum class Role { none, webBrowser, fileManager, mail, calendar, imageViewer, documentViewer, terminal };

    std::string_view identifier;
    Role role = Role::none;
    std::vector<std::string_view> desktopIds;
};

// The row of an identifier, compared ignoring letter case as the other
// platform does; none for an identifier the table does not know.
const ApplicationEquivalent* findApplicationEquivalent(std::string_view identifier);

// The row's desktop ids with the running desktop's own programs first (its
// XDG_CURRENT_DESKTOP), then those of no desktop in particular, then the
// other desktops' own; each group in table order. Table order alone where
// the desktop is not known.
std::vector<std::string_view> desktopIdsPreferring(const ApplicationEquivalent& row,
                                                   std::string_view currentDesktop);

// The desktop tool that names the role's default application (it prints a
// desktop-file id); empty for a role the desktop keeps no default for.
std::vector<std::string> roleDefaultQuery(ApplicationEquivalent::Role role);

} // namespace rondelix::platform::linux_desktop
