#include "platform/linux/desktop/ApplicationEquivalents.h"

#include "platform/CurrentDesktop.h"
#include "util/Ascii.h"

#include <algorithm>

namespace rondelix::platform::linux_desktop {

namespace {

using Role = ApplicationEquivalent::Role;

const std::vector<ApplicationEquivalent>& equivalents() {
    // clang-format off
    static const std::vector<ApplicationEquivalent> table{
        {"com.apple.finder", Role::fileManager,
         {"org.gnome.Nautilus", "nautilus", "org.kde.dolphin", "dolphin", "thunar", "org.xfce.Thunar", "caja",
          "caja-browser", "nemo", "pcmanfm", "pcmanfm-qt"}},
        {"com.apple.Safari", Role::webBrowser,
         {"firefox", "firefox-esr", "org.mozilla.firefox", "org.gnome.Epiphany", "epiphany", "chromium",
          "chromium-browser", "org.chromium.Chromium", "google-chrome", "com.google.Chrome", "org.kde.falkon",
          "brave-browser", "com.brave.Browser"}},
        {"com.apple.mail", Role::mail,
         {"org.gnome.Evolution", "evolution", "thunderbird", "org.mozilla.Thunderbird",
          "net.thunderbird.Thunderbird", "org.kde.kmail2", "kmail", "org.gnome.Geary", "geary", "claws-mail"}},
        {"com.apple.MobileSMS", Role::none,
         {"org.kde.kdeconnect.sms", "signal-desktop", "org.signal.Signal", "org.telegram.desktop",
          "telegramdesktop", "element-desktop", "im.riot.Riot", "org.kde.neochat", "org.gnome.Fractal"}},
        {"com.apple.iCal", Role::calendar,
         {"org.gnome.Calendar", "gnome-calendar", "org.kde.korganizer", "korganizer", "org.kde.merkuro.calendar",
          "org.xfce.orage", "org.gnome.Evolution", "evolution", "thunderbird", "org.mozilla.Thunderbird"}},
        {"com.apple.Notes", Role::none,
         {"org.gnome.Notes", "bijiben", "org.gnome.Gnote", "gnote", "org.kde.knotes", "knotes",
          "org.xfce.notes", "xfce4-notes", "xpad", "net.cozic.joplin_desktop", "joplin", "md.obsidian.Obsidian",
          "obsidian"}},
        {"com.apple.Photos", Role::imageViewer,
         {"org.gnome.Shotwell", "shotwell", "org.kde.digikam", "digikam", "org.gnome.Loupe", "org.gnome.eog",
          "eog", "org.kde.gwenview", "ristretto", "org.xfce.ristretto", "eom", "xviewer"}},
        {"com.apple.Preview", Role::documentViewer,
         {"org.gnome.Evince", "evince", "org.gnome.Papers", "org.kde.okular", "okular", "atril", "xreader",
          "org.gnome.Loupe", "eog"}},
        {"com.apple.systempreferences", Role::none,
         {"org.gnome.Settings", "gnome-control-center", "systemsettings", "org.kde.systemsettings",
          "xfce-settings-manager", "org.xfce.xfce4-settings-manager", "mate-control-center", "matecc",
          "cinnamon-settings"}},
        {"com.apple.calculator", Role::none,
         {"org.gnome.Calculator", "gnome-calculator", "org.kde.kcalc", "kcalc", "org.kde.kalk", "galculator",
          "mate-calc", "qalculate-gtk", "io.github.Qalculate"}},
        {"com.apple.Music", Role::none,
         {"org.gnome.Rhythmbox3", "rhythmbox", "org.gnome.Music", "org.kde.elisa", "elisa", "org.xfce.Parole",
          "parole", "audacious", "org.strawberrymusicplayer.strawberry", "lollypop", "org.gnome.Lollypop",
          "spotify", "com.spotify.Client"}},
        {"com.apple.Terminal", Role::terminal,
         {"org.gnome.Terminal", "gnome-terminal", "org.gnome.Console", "org.gnome.Ptyxis", "org.kde.konsole",
          "konsole", "xfce4-terminal", "org.xfce.terminal", "mate-terminal", "com.gexperts.Tilix", "tilix",
          "kitty", "Alacritty", "alacritty", "debian-xterm", "xterm"}},
        // The code and video editor wheels send VS Code's and OpenShot's keys,
        // so they open only for the editors that take them.
        {"com.apple.dt.Xcode", Role::none,
         {"code", "com.visualstudio.code", "code-oss", "codium", "com.vscodium.codium"}},
        {"com.apple.FinalCut", Role::none, {"org.openshot.OpenShot", "openshot-qt"}},
        {"com.adobe.Photoshop", Role::none, {"org.gimp.GIMP", "gimp", "org.kde.krita", "krita"}},
        {"com.microsoft.Word", Role::none,
         {"libreoffice-writer", "org.libreoffice.LibreOffice.writer", "org.libreoffice.LibreOffice",
          "onlyoffice-desktopeditors", "org.onlyoffice.desktopeditors"}},
        {"com.microsoft.Excel", Role::none,
         {"libreoffice-calc", "org.libreoffice.LibreOffice.calc", "org.libreoffice.LibreOffice",
          "org.gnome.Gnumeric", "gnumeric", "onlyoffice-desktopeditors", "org.onlyoffice.desktopeditors"}},
        {"com.google.Chrome", Role::none,
         {"google-chrome", "com.google.Chrome", "chromium", "chromium-browser", "org.chromium.Chromium"}},
        {"org.mozilla.firefox", Role::none, {"firefox", "firefox-esr"}},
        {"com.spotify.client", Role::none, {"spotify", "com.spotify.Client"}},
        {"com.tinyspeck.slackmacgap", Role::none, {"slack", "com.slack.Slack"}},
        {"com.hnc.Discord", Role::none, {"discord", "com.discordapp.Discord"}},
        {"us.zoom.xos", Role::none, {"Zoom", "zoom", "us.zoom.Zoom"}},
        {"com.microsoft.teams2", Role::none,
         {"teams-for-linux", "com.github.IsmaelMartinez.teams_for_linux", "teams"}},
        {"com.microsoft.teams", Role::none,
         {"teams-for-linux", "com.github.IsmaelMartinez.teams_for_linux", "teams"}},
        {"com.microsoft.VSCode", Role::none,
         {"code", "com.visualstudio.code", "code-oss", "codium", "com.vscodium.codium"}},
        {"notion.id", Role::none, {"notion-app", "notion-app-enhanced"}},
        {"md.obsidian", Role::none, {"obsidian", "md.obsidian.Obsidian"}},
        {"com.figma.Desktop", Role::none, {"figma-linux", "io.github.Figma_Linux.Figma_Electron"}},
        {"com.sublimetext.4", Role::none, {"sublime_text", "com.sublimetext.three"}},
        {"com.sublimetext.3", Role::none, {"sublime_text", "com.sublimetext.three"}},
        {"org.keepassxc.keepassxc", Role::none, {"org.keepassxc.KeePassXC", "keepassxc"}},
        {"com.mitchellh.ghostty", Role::terminal, {"com.mitchellh.ghostty", "ghostty"}},
    };
    // clang-format on
    return table;
}

// Which desktop a program belongs to, by its id: the desktops name their
// own programs after themselves, with a few that predate the habit.
std::string_view owningDesktop(std::string_view id) {
    struct Owner {
        std::string_view desktop;
        std::vector<std::string_view> prefixes;
        std::vector<std::string_view> names;
    };
    static const std::vector<Owner> owners{
        {"GNOME", {"org.gnome.", "gnome-"}, {"nautilus", "evince", "eog", "epiphany", "bijiben", "gnote"}},
        {"KDE",
         {"org.kde."},
         {"dolphin", "konsole", "okular", "kcalc", "kmail", "korganizer", "gwenview", "elisa", "knotes",
          "systemsettings", "kdenlive"}},
        {"XFCE", {"org.xfce.", "xfce4-", "xfce-"}, {"thunar", "ristretto", "parole"}},
        {"MATE", {"mate-"}, {"caja", "caja-browser", "atril", "eom", "pluma", "matecc"}},
        {"X-Cinnamon", {"cinnamon-"}, {"nemo", "xreader", "xviewer", "xed"}},
    };
    for (const Owner& owner : owners) {
        for (const std::string_view prefix : owner.prefixes)
            if (id.starts_with(prefix)) return owner.desktop;
        if (std::find(owner.names.begin(), owner.names.end(), id) != owner.names.end()) return owner.desktop;
    }
    return {};
}

// The desktop entry category every program of the role carries.
std::string_view roleCategory(Role role) {
    switch (role) {
    case Role::webBrowser:
        return "WebBrowser";
    case Role::fileManager:
        return "FileManager";
    case Role::mail:
        return "Email";
    case Role::calendar:
        return "Calendar";
    case Role::imageViewer:
    case Role::documentViewer:
        return "Viewer";
    case Role::terminal:
        return "TerminalEmulator";
    case Role::none:
        return {};
    }
    return {};
}

std::string_view trimmed(std::string_view text) {
    while (!text.empty() && isAsciiSpace(text.front()))
        text.remove_prefix(1);
    while (!text.empty() && isAsciiSpace(text.back()))
        text.remove_suffix(1);
    return text;
}

} // namespace

std::vector<std::string_view> desktopIdsPreferring(const ApplicationEquivalent& row,
                                                   std::string_view currentDesktop) {
    if (currentDesktop.empty()) return row.desktopIds;
    std::vector<std::string_view> own, neutral, others;
    for (const std::string_view id : row.desktopIds) {
        const std::string_view owner = owningDesktop(id);
        if (owner.empty())
            neutral.push_back(id);
        else if (namesDesktop(currentDesktop, owner))
            own.push_back(id);
        else
            others.push_back(id);
    }
    own.insert(own.end(), neutral.begin(), neutral.end());
    own.insert(own.end(), others.begin(), others.end());
    return own;
}

const ApplicationEquivalent* findApplicationEquivalent(std::string_view identifier) {
    for (const auto& row : equivalents())
        if (equalIgnoringCase(row.identifier, identifier)) return &row;
    return nullptr;
}

std::string_view roleMimeType(Role role) {
    switch (role) {
    case Role::webBrowser:
        return "x-scheme-handler/http";
    case Role::fileManager:
        return "inode/directory";
    case Role::mail:
        return "x-scheme-handler/mailto";
    case Role::calendar:
        return "text/calendar";
    case Role::imageViewer:
        return "image/jpeg";
    case Role::documentViewer:
        return "application/pdf";
    case Role::terminal:
    case Role::none:
        return {};
    }
    return {};
}

std::vector<std::string> mimeappsDefaults(std::string_view text, std::string_view mimeType) {
    std::vector<std::string> ids;
    bool inDefaults = false;
    while (!text.empty()) {
        const std::size_t end = std::min(text.find('\n'), text.size());
        const std::string_view line = trimmed(text.substr(0, end));
        text.remove_prefix(std::min(end + 1, text.size()));
        if (line.starts_with('[')) {
            inDefaults = line == "[Default Applications]";
            continue;
        }
        const std::size_t equals = line.find('=');
        if (!inDefaults || equals == std::string_view::npos || trimmed(line.substr(0, equals)) != mimeType)
            continue;
        std::string_view list = line.substr(equals + 1);
        while (!list.empty()) {
            const std::size_t semicolon = std::min(list.find(';'), list.size());
            std::string id(trimmed(list.substr(0, semicolon)));
            list.remove_prefix(std::min(semicolon + 1, list.size()));
            if (id.ends_with(".desktop")) id.resize(id.size() - 8);
            if (!id.empty()) ids.push_back(std::move(id));
        }
    }
    return ids;
}

bool isOfKind(const ApplicationEquivalent& row, std::string_view desktopId, std::string_view categories) {
    if (std::find(row.desktopIds.begin(), row.desktopIds.end(), desktopId) != row.desktopIds.end())
        return true;
    const std::string_view wanted = roleCategory(row.role);
    if (wanted.empty()) return false;
    while (!categories.empty()) {
        const std::size_t semicolon = std::min(categories.find(';'), categories.size());
        if (trimmed(categories.substr(0, semicolon)) == wanted) return true;
        categories.remove_prefix(std::min(semicolon + 1, categories.size()));
    }
    return false;
}

std::vector<std::string> equivalentCandidates(const ApplicationEquivalent& row,
                                              std::string_view currentDesktop,
                                              const std::vector<std::string>& userChoices,
                                              const std::optional<std::string>& desktopDefault) {
    std::vector<std::string> candidates = userChoices;
    const auto add = [&](std::string_view id) {
        if (std::find(candidates.begin(), candidates.end(), id) == candidates.end())
            candidates.emplace_back(id);
    };
    const auto preferred = desktopIdsPreferring(row, currentDesktop);
    for (const std::string_view id : preferred)
        if (const std::string_view owner = owningDesktop(id);
            !owner.empty() && namesDesktop(currentDesktop, owner))
            add(id);
    if (desktopDefault) add(*desktopDefault);
    for (const std::string_view id : preferred)
        add(id);
    return candidates;
}

std::vector<std::string> roleDefaultQuery(Role role) {
    switch (role) {
    case Role::webBrowser:
        return {"xdg-settings", "get", "default-web-browser"};
    case Role::fileManager:
        return {"xdg-mime", "query", "default", "inode/directory"};
    case Role::mail:
        return {"xdg-mime", "query", "default", "x-scheme-handler/mailto"};
    case Role::calendar:
        return {"xdg-mime", "query", "default", "text/calendar"};
    case Role::imageViewer:
        return {"xdg-mime", "query", "default", "image/jpeg"};
    case Role::documentViewer:
        return {"xdg-mime", "query", "default", "application/pdf"};
    case Role::terminal:
    case Role::none:
        return {};
    }
    return {};
}

} // namespace rondelix::platform::linux_desktop
