#include "actions/SystemActionRoute.h"

#include <map>

namespace rondelix {

namespace {

// A toggle of one boolean-like GSettings key, run by the shell so that the
// read and the write stay one queued command.
route::Queued gsettingsToggle(const std::string& schema, const std::string& key, const std::string& onValue,
                              const std::string& offValue) {
    const std::string keyPath = schema + " " + key;
    return {"/bin/sh",
            {"-c", "if [ \"$(gsettings get " + keyPath + ")\" = \"" + onValue + "\" ]; then gsettings set " +
                       keyPath + " " + offValue + "; else gsettings set " + keyPath + " " + onValue +
                       "; fi"}};
}

const std::map<std::string, SystemActionRoute, std::less<>>& routes() {
    using namespace route;
    static const std::map<std::string, SystemActionRoute, std::less<>> table = {
        {"toggle-dark-mode",
         gsettingsToggle("org.gnome.desktop.interface", "color-scheme", "'prefer-dark'", "'default'")},
        {"toggle-mute", Queued{"pactl", {"set-sink-mute", "@DEFAULT_SINK@", "toggle"}}},
        {"volume-up", Queued{"pactl", {"set-sink-volume", "@DEFAULT_SINK@", "+10%"}}},
        {"volume-down", Queued{"pactl", {"set-sink-volume", "@DEFAULT_SINK@", "-10%"}}},
        {"brightness-up", MediaKey{2}},
        {"brightness-down", MediaKey{3}},
        {"media-playpause", MediaKey{16}},
        {"media-next", MediaKey{17}},
        {"media-previous", MediaKey{18}},
        {"sleep-display", Queued{"xset", {"dpms", "force", "off"}}},
        {"lock-screen", LockScreen{}},
        {"screenshot", LaunchApplication{{"org.gnome.Screenshot", "org.kde.spectacle",
                                          "org.flameshot.Flameshot", "xfce4-screenshooter"}}},
        {"toggle-wifi", ToggleWiFi{}},
        {"toggle-bluetooth", Shortcut{"Toggle Bluetooth"}},
        {"toggle-dnd", Shortcut{"Toggle Focus"}},
        {"night-shift", Shortcut{"Toggle Night Shift"}},
        {"true-tone", Shortcut{"Toggle True Tone"}},
        {"stage-manager", Shortcut{"Toggle Stage Manager"}},
        {"toggle-desktop-icons", Unavailable{}},
        {"toggle-hidden-files",
         gsettingsToggle("org.gtk.gtk4.Settings.FileChooser", "show-hidden", "true", "false")},
        {"toggle-file-extensions", Unavailable{}},
        {"toggle-dock-autohide", Unavailable{}},
        {"toggle-dock-magnification", Unavailable{}},
        {"new-finder-window", OpenHomeFolder{}},
        {"mission-control", Queued{"gdbus",
                                   {"call", "--session", "--dest", "org.gnome.Shell", "--object-path",
                                    "/org/gnome/Shell", "--method", "org.freedesktop.DBus.Properties.Set",
                                    "org.gnome.Shell", "OverviewActive", "<true>"}}},
        // Command travels as Control here, and Control-period opens the
        // emoji chooser of GTK programs.
        {"emoji-picker", Keystroke{KeyCombo{.keyCode = 47, .command = true}}},
        {"open-settings", LaunchApplication{{"org.gnome.Settings", "gnome-control-center", "systemsettings",
                                             "org.kde.systemsettings", "xfce-settings-manager",
                                             "cinnamon-settings", "mate-control-center"}}},
    };
    return table;
}

} // namespace

SystemActionRoute systemActionRoute(std::string_view id) {
    const auto found = routes().find(id);
    return found == routes().end() ? SystemActionRoute{route::Unavailable{}} : found->second;
}

route::Queued wifiProbeCommand() {
    // nmcli words its answer in the user's language; the toggle reads the
    // English one.
    return {"env", {"LC_ALL=C", "nmcli", "radio", "wifi"}};
}

route::Queued wifiSwitchCommand(bool on) {
    return {"nmcli", {"radio", "wifi", on ? "on" : "off"}};
}

route::Queued lockScreenCommand() {
    return {"loginctl", {"lock-session"}};
}

} // namespace rondelix
