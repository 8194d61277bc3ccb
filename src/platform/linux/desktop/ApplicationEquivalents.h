#pragma once

#include <optional>
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

// The MIME type (or URL scheme handler) whose default application plays the
// role in mimeapps.list; empty for a role without one.
std::string_view roleMimeType(ApplicationEquivalent::Role role);

// The default applications a mimeapps.list text names for the MIME type, in
// its order, without ".desktop".
std::vector<std::string> mimeappsDefaults(std::string_view text, std::string_view mimeType);

// Whether an application can stand in for the row: one of the row's own
// programs, or an entry whose categories ("Network;Email;") name the role's
// kind. A default the desktop keeps for a MIME type can be any program that
// opens it (a text editor for calendar files), which is no calendar.
bool isOfKind(const ApplicationEquivalent& row, std::string_view desktopId, std::string_view categories);

// The desktop ids to try for the row, in order: the user's own choices, the
// running desktop's own programs, the desktop's default, then the row's
// other programs as desktopIdsPreferring orders them.
std::vector<std::string> equivalentCandidates(const ApplicationEquivalent& row,
                                              std::string_view currentDesktop,
                                              const std::vector<std::string>& userChoices,
                                              const std::optional<std::string>& desktopDefault);

} // namespace rondelix::platform::linux_desktop
