#include "actions/SystemActionRoute.h"

#include "actions/DarkThemeSwitch.h"
#include "catalog/SystemAction.h"
#include "platform/CurrentDesktop.h"

#include <algorithm>
#include <array>
#include <map>

namespace rondelix {

namespace {

// One desktop's way of doing an action: its tool and the command line that
// uses it. An empty desktop name fits any desktop.
struct Attempt {
    std::string_view desktop;
    std::string tool;
    std::string command;
};

bool fitsDesktop(std::string_view attempt, std::string_view current) {
    return platform::namesDesktop(current, attempt);
}

// One queued shell command that runs the first attempt whose tool is
// installed, the current desktop's own first, then the others in table
// order. With none installed it names the tools on its error output, so
// the failure's log line says what is missing; a tool that fails is named
// there too.
route::Queued firstInstalled(const std::vector<Attempt>& attempts, std::string_view desktop) {
    std::vector<const Attempt*> ordered;
    for (const auto& attempt : attempts)
        if (fitsDesktop(attempt.desktop, desktop)) ordered.push_back(&attempt);
    for (const auto& attempt : attempts)
        if (!fitsDesktop(attempt.desktop, desktop)) ordered.push_back(&attempt);
    std::string script;
    std::string tools;
    for (const Attempt* attempt : ordered) {
        // A failure's error output leads with the tool that failed, so the
        // log line names it even when the tool itself says nothing.
        script += "if command -v " + attempt->tool + " >/dev/null 2>&1; then e=$( { " + attempt->command +
                  "; } 2>&1 >/dev/null); s=$?; if [ $s -ne 0 ]; then if [ -n \"$e\" ]; then echo \"" +
                  attempt->tool + ": $e\"; else echo \"" + attempt->tool +
                  " failed\"; fi >&2; fi; exit $s; fi; ";
        if (tools.find(attempt->tool) == std::string::npos)
            tools += (tools.empty() ? "" : ", ") + attempt->tool;
    }
    script += "echo 'none of these tools is installed: " + tools + "' >&2; exit 127";
    return {"/bin/sh", {"-c", script}};
}

// Flips a GSettings key between two values.
std::string gsettingsToggle(const std::string& keyPath, const std::string& onValue,
                            const std::string& offValue) {
    return "if [ \"$(gsettings get " + keyPath + ")\" = \"" + onValue + "\" ]; then gsettings set " +
           keyPath + " " + offValue + "; else gsettings set " + keyPath + " " + onValue + "; fi";
}

// Starts a program that keeps running (a window) without holding the queue.
std::string detached(const std::string& commandLine) {
    return "(" + commandLine + " </dev/null >/dev/null 2>&1 &)";
}

std::vector<Attempt> darkModeAttempts() {
    return {
        {"GNOME", "gsettings",
         gsettingsToggle("org.gnome.desktop.interface color-scheme", "'prefer-dark'", "'default'")},
        {"KDE", "plasma-apply-colorscheme", darkColorSchemeSwitchCommand()},
        {"XFCE", "xfconf-query",
         darkThemeSwitchCommand(
             {"xfconf-query -c xsettings -p /Net/ThemeName", "xfconf-query -c xsettings -p /Net/ThemeName -s",
              "xfconf-query -c xfwm4 -p /general/theme", "xfconf-query -c xfwm4 -p /general/theme -s",
              "xfwm4", "Greybird-dark Adwaita-dark", "Greybird Adwaita"})},
        {"MATE", "gsettings",
         darkThemeSwitchCommand(
             {"gsettings get org.mate.interface gtk-theme", "gsettings set org.mate.interface gtk-theme",
              "gsettings get org.mate.Marco.general theme", "gsettings set org.mate.Marco.general theme",
              "metacity-1", "BlackMATE Adwaita-dark", "Menta Adwaita"})},
        {"X-Cinnamon", "gsettings",
         darkThemeSwitchCommand({"gsettings get org.cinnamon.desktop.interface gtk-theme",
                                 "gsettings set org.cinnamon.desktop.interface gtk-theme",
                                 "gsettings get org.cinnamon.desktop.wm.preferences theme",
                                 "gsettings set org.cinnamon.desktop.wm.preferences theme", "metacity-1",
                                 "Mint-Y-Dark Adwaita-dark", "Mint-Y Adwaita"})},
    };
}

std::vector<Attempt> volumeAttempts(const std::string& pactl, const std::string& wpctl,
                                    const std::string& amixer) {
    return {{"", "pactl", "pactl " + pactl},
            {"", "wpctl", "wpctl " + wpctl},
            {"", "amixer", "amixer -q set Master " + amixer}};
}

std::vector<Attempt> hiddenFilesAttempts() {
    return {
        {"GNOME", "gsettings",
         gsettingsToggle("org.gtk.gtk4.Settings.FileChooser show-hidden", "true", "false")},
        {"XFCE", "xfconf-query",
         "if [ \"$(xfconf-query -c thunar -p /last-show-hidden)\" = true ]; then xfconf-query -c thunar -p "
         "/last-show-hidden -n -t bool -s false; else xfconf-query -c thunar -p /last-show-hidden -n -t bool "
         "-s "
         "true; fi"},
        {"MATE", "gsettings",
         gsettingsToggle("org.mate.caja.preferences show-hidden-files", "true", "false")},
        {"X-Cinnamon", "gsettings",
         gsettingsToggle("org.nemo.preferences show-hidden-files", "true", "false")},
    };
}

std::vector<Attempt> overviewAttempts() {
    return {
        {"GNOME", "gdbus",
         "gdbus call --session --dest org.gnome.Shell --object-path /org/gnome/Shell --method "
         "org.freedesktop.DBus.Properties.Set org.gnome.Shell OverviewActive '<true>'"},
        {"KDE", "dbus-send",
         "dbus-send --session --type=method_call --dest=org.kde.kglobalaccel /component/kwin "
         "org.kde.kglobalaccel.Component.invokeShortcut string:Overview"},
    };
}

std::vector<Attempt> screenshotAttempts() {
    return {
        {"GNOME", "gnome-screenshot", detached("gnome-screenshot --interactive")},
        {"KDE", "spectacle", detached("spectacle")},
        {"XFCE", "xfce4-screenshooter", detached("xfce4-screenshooter")},
        {"MATE", "mate-screenshot", detached("mate-screenshot --interactive")},
        {"X-Cinnamon", "gnome-screenshot", detached("gnome-screenshot --interactive")},
        {"", "flameshot", detached("flameshot gui")},
    };
}

std::vector<Attempt> settingsAttempts() {
    return {
        {"GNOME", "gnome-control-center", detached("gnome-control-center")},
        {"KDE", "systemsettings", detached("systemsettings")},
        {"KDE", "systemsettings5", detached("systemsettings5")},
        {"XFCE", "xfce4-settings-manager", detached("xfce4-settings-manager")},
        {"MATE", "mate-control-center", detached("mate-control-center")},
        {"X-Cinnamon", "cinnamon-settings", detached("cinnamon-settings")},
    };
}

std::vector<Attempt> lockAttempts() {
    return {
        {"GNOME", "gdbus",
         "gdbus call --session --dest org.gnome.ScreenSaver --object-path /org/gnome/ScreenSaver --method "
         "org.gnome.ScreenSaver.Lock >/dev/null"},
        {"KDE", "loginctl", "loginctl lock-session"},
        {"XFCE", "xflock4", "xflock4"},
        {"MATE", "mate-screensaver-command", "mate-screensaver-command --lock"},
        {"X-Cinnamon", "cinnamon-screensaver-command", "cinnamon-screensaver-command --lock"},
        {"", "loginctl", "loginctl lock-session"},
        {"", "xdg-screensaver", "xdg-screensaver lock"},
    };
}

// Each session manager's own way out, with its confirmation: never a key,
// which some desktops bind to shutting down or locking instead.
std::vector<Attempt> logOutAttempts() {
    return {
        {"GNOME", "gdbus",
         "gdbus call --session --dest org.gnome.SessionManager --object-path /org/gnome/SessionManager "
         "--method "
         "org.gnome.SessionManager.Logout 0 >/dev/null"},
        {"KDE", "dbus-send",
         "dbus-send --session --print-reply --type=method_call --dest=org.kde.LogoutPrompt /LogoutPrompt "
         "org.kde.LogoutPrompt.promptLogout >/dev/null"},
        {"XFCE", "xfce4-session-logout", detached("xfce4-session-logout")},
        {"MATE", "mate-session-save", "mate-session-save --logout-dialog"},
        {"X-Cinnamon", "cinnamon-session-quit", detached("cinnamon-session-quit --logout")},
    };
}

std::vector<Attempt> desktopIconsAttempts() {
    return {
        // Xfce's icon style: none (0) or file and launcher icons (2).
        {"XFCE", "xfconf-query",
         "if [ \"$(xfconf-query -c xfce4-desktop -p /desktop-icons/style 2>/dev/null)\" = 0 ]; then "
         "xfconf-query "
         "-c xfce4-desktop -p /desktop-icons/style -n -t int -s 2; else xfconf-query -c xfce4-desktop -p "
         "/desktop-icons/style -n -t int -s 0; fi"},
        {"MATE", "gsettings", gsettingsToggle("org.mate.background show-desktop-icons", "true", "false")},
    };
}

// A shortcut of KWin's own, by the name Plasma's shortcut settings list it
// under: it runs whatever keys the user gave it, where a posted key would
// have to guess them.
SystemActionRoute kwinShortcut(const std::string& name, std::string_view desktop) {
    return firstInstalled(
        {{"KDE", "dbus-send",
          "dbus-send --session --print-reply --type=method_call --dest=org.kde.kglobalaccel "
          "/component/kwin org.kde.kglobalaccel.Component.invokeShortcut string:'" +
              name + "' >/dev/null"}},
        desktop);
}

// Window and workspace commands: Plasma's through KWin, the keys the other
// desktops' window managers bind by default, and where a desktop's stock key
// for it holds Super (GNOME, Cinnamon) or it binds none, the window
// manager's own hint.
SystemActionRoute windowCommand(std::string_view id, std::string_view desktop) {
    using namespace route;
    const bool kde = platform::namesDesktop(desktop, "KDE");
    const bool gnome = platform::namesDesktop(desktop, "GNOME");
    const bool cinnamon = platform::namesDesktop(desktop, "X-Cinnamon");
    if (id == "show-desktop") {
        if (kde) return kwinShortcut("Show Desktop", desktop);
        if (gnome || cinnamon) return firstInstalled({{"", "wmctrl", "wmctrl -k on"}}, desktop);
        return Keystroke{KeyCombo{.keyCode = 2, .alt = true, .control = true}};
    }
    if (id == "minimize-window") {
        if (kde) return kwinShortcut("Window Minimize", desktop);
        if (gnome)
            return firstInstalled({{"", "xdotool", "xdotool getactivewindow windowminimize"}}, desktop);
        return Keystroke{KeyCombo{.keyCode = 101, .alt = true}};
    }
    const bool left = id == "workspace-left";
    if (kde)
        return kwinShortcut(left ? "Switch One Desktop to the Left" : "Switch One Desktop to the Right",
                            desktop);
    return Keystroke{KeyCombo{.keyCode = left ? 123 : 124, .alt = true, .control = true}};
}

// The attempts of the running desktop alone, for what only the session's own
// programs can do; unavailable on a desktop that has none.
SystemActionRoute ownDesktopOnly(const std::vector<Attempt>& attempts, std::string_view desktop) {
    std::vector<Attempt> own;
    for (const auto& attempt : attempts)
        if (fitsDesktop(attempt.desktop, desktop)) own.push_back(attempt);
    if (own.empty()) return route::Unavailable{};
    return firstInstalled(own, desktop);
}

// The actions no Linux desktop has anything like, whatever is installed.
bool noLinuxDesktopHas(std::string_view id) {
    static constexpr std::array<std::string_view, 4> ids{"toggle-dock-autohide", "toggle-dock-magnification",
                                                         "true-tone", "stage-manager"};
    return std::find(ids.begin(), ids.end(), id) != ids.end();
}

SystemActionRoute routeFor(std::string_view id, std::string_view desktop) {
    using namespace route;
    if (noLinuxDesktopHas(id)) return Unavailable{};
    if (id == "toggle-dark-mode") return firstInstalled(darkModeAttempts(), desktop);
    if (id == "toggle-mute")
        return firstInstalled(volumeAttempts("set-sink-mute @DEFAULT_SINK@ toggle",
                                             "set-mute @DEFAULT_AUDIO_SINK@ toggle", "toggle"),
                              desktop);
    if (id == "volume-up")
        return firstInstalled(volumeAttempts("set-sink-volume @DEFAULT_SINK@ +10%",
                                             "set-volume @DEFAULT_AUDIO_SINK@ 10%+", "10%+"),
                              desktop);
    if (id == "volume-down")
        return firstInstalled(volumeAttempts("set-sink-volume @DEFAULT_SINK@ -10%",
                                             "set-volume @DEFAULT_AUDIO_SINK@ 10%-", "10%-"),
                              desktop);
    if (id == "sleep-display") return firstInstalled({{"", "xset", "xset dpms force off"}}, desktop);
    if (id == "screenshot") return firstInstalled(screenshotAttempts(), desktop);
    // Another desktop's file manager or shell setting does nothing for this
    // desktop's own: Dolphin keeps hidden files per folder, and neither Xfce
    // nor MATE has a window overview.
    if (id == "toggle-hidden-files") return ownDesktopOnly(hiddenFilesAttempts(), desktop);
    if (id == "mission-control") return ownDesktopOnly(overviewAttempts(), desktop);
    if (id == "open-settings") return firstInstalled(settingsAttempts(), desktop);
    if (id == "log-out") return ownDesktopOnly(logOutAttempts(), desktop);
    if (id == "show-desktop" || id == "minimize-window" || id == "workspace-left" || id == "workspace-right")
        return windowCommand(id, desktop);
    if (id == "toggle-desktop-icons") return ownDesktopOnly(desktopIconsAttempts(), desktop);
    // Plasma's emoji chooser is a program of its own; elsewhere the GTK one.
    if (id == "emoji-picker" && platform::namesDesktop(desktop, "KDE"))
        return firstInstalled({{"KDE", "plasma-emojier", detached("plasma-emojier")}}, desktop);
    // The program's own automation switches GNOME's, Cinnamon's or KWin's
    // night light; the other desktops (Xfce, MATE) have none for it.
    if (id == "night-shift") {
        const bool hasNightLight = platform::namesDesktop(desktop, "GNOME") ||
                                   platform::namesDesktop(desktop, "X-Cinnamon") ||
                                   platform::namesDesktop(desktop, "KDE");
        return Shortcut{"Toggle Night Light", hasNightLight ? "" : "This desktop has no night light."};
    }
    static const std::map<std::string, SystemActionRoute, std::less<>> fixed = {
        {"brightness-up", MediaKey{2}},
        {"brightness-down", MediaKey{3}},
        {"media-playpause", MediaKey{16}},
        {"media-next", MediaKey{17}},
        {"media-previous", MediaKey{18}},
        {"lock-screen", LockScreen{}},
        {"toggle-wifi", ToggleWiFi{}},
        {"toggle-bluetooth", Shortcut{"Toggle Bluetooth"}},
        {"toggle-dnd", Shortcut{"Toggle Do Not Disturb"}},
        {"toggle-file-extensions", Unavailable{}},
        {"new-finder-window", OpenHomeFolder{}},
        // Command travels as Control here, and Control-period opens the
        // emoji chooser of GTK programs.
        {"emoji-picker", Keystroke{KeyCombo{.keyCode = 47, .primary = true}}},
    };
    const auto found = fixed.find(id);
    return found == fixed.end() ? SystemActionRoute{Unavailable{}} : found->second;
}

} // namespace

SystemActionRoute systemActionRoute(std::string_view id, std::string_view desktop) {
    return routeFor(id, desktop);
}

route::Queued wifiProbeCommand() {
    // nmcli words its answer in the user's language; the toggle reads the
    // English one.
    return {"env", {"LC_ALL=C", "nmcli", "radio", "wifi"}};
}

route::Queued wifiSwitchCommand(bool on) {
    return {"nmcli", {"radio", "wifi", on ? "on" : "off"}};
}

route::Queued lockScreenCommand(std::string_view desktop) {
    return firstInstalled(lockAttempts(), desktop);
}

std::optional<std::string> systemActionUnavailableReason(std::string_view id, std::string_view desktop,
                                                         const InstalledAsShipped& asShipped) {
    const SystemActionRoute route = systemActionRoute(id, desktop);
    if (std::holds_alternative<route::Unavailable>(route)) return "This desktop has nothing that does this.";
    if (const auto* automation = std::get_if<route::Shortcut>(&route);
        automation && !automation->shippedIdleReason.empty() && asShipped && asShipped(automation->name))
        return automation->shippedIdleReason;
    return std::nullopt;
}

bool systemActionOfferedOnLinux(std::string_view id) {
    return SystemAction::find(id).has_value() && !noLinuxDesktopHas(id);
}

} // namespace rondelix
