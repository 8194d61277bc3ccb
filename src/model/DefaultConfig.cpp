#include "model/DefaultConfig.h"

#include "model/KeyComboText.h"
#include "model/SummonKey.h"

#include <utility>

namespace rondelix::DefaultConfig {

namespace {

Slice slice(int position, std::string label, Icon icon, MacroAction action) {
    return Slice{Uuid::generate(), position, std::move(label), std::move(icon), std::move(action)};
}

Icon symbol(std::string name) {
    return Icon::SfSymbol{std::move(name)};
}

MacroAction app(std::string bundleIdentifier) {
    return MacroAction::App{std::move(bundleIdentifier), std::nullopt};
}

MacroAction script(std::string source) {
    return MacroAction::Script{std::move(source)};
}

MacroAction keystroke(int keyCode, bool primary, bool shift = false, bool alt = false, bool control = false) {
    return MacroAction::Keystroke{KeyCombo{keyCode, primary, shift, alt, control}};
}

Wheel wheel(std::string id, std::string name, std::vector<Slice> slices = {}) {
    return Wheel{std::move(id), std::move(name), 8, std::move(slices), std::nullopt};
}

SummonBinding binding(std::vector<int> keyCodes, int holdThresholdMs, bool enabled) {
    return SummonBinding{Uuid::generate(), std::move(keyCodes), holdThresholdMs, enabled};
}

// The music wheel of older files drove the other system's music player; it
// is only ever compared against, never written.
MacroAction tellMusic(const std::string& command) {
    return script("osascript -e 'tell application \"Music\" to " + command + "'");
}

// The shell function `notify TITLE BODY` that the factory scripts showing
// something start with. It uses the first notification tool the desktop
// installed: notify-send where present (named as the program, or some
// desktops title the notification "notify-send"), else the notification service
// itself through gdbus (GNOME, Xfce, MATE, Cinnamon), kdialog on KDE, and
// zenity last, whose absence fails the script so that the failure is told.
constexpr std::string_view notifyFunction = R"sh(notify() {
  if command -v notify-send >/dev/null; then notify-send --app-name=Rondelix "$1" "$2"
  elif command -v gdbus >/dev/null; then
    gdbus call --session --dest=org.freedesktop.Notifications --object-path=/org/freedesktop/Notifications \
      --method=org.freedesktop.Notifications.Notify Rondelix 0 '' "$1" "$2" '[]' '{}' 5000 >/dev/null
  elif command -v kdialog >/dev/null; then kdialog --title "$1" --passivepopup "$2" 5
  else zenity --notification --text="$1: $2"
  fi
}
)sh";

std::string withNotify(std::string_view script) {
    std::string whole(notifyFunction);
    whole.append(script);
    return whole;
}

// A keystroke slice labelled with its combination as it is sent: "Copy Ctrl+C".
Slice shortcutSlice(int position, const std::string& word, Icon icon, KeyCombo combo) {
    return slice(position, word + " " + KeyComboText::displayString(combo), std::move(icon),
                 MacroAction::Keystroke{combo});
}

} // namespace

std::string sayHiScript() {
    return withNotify(R"sh(for speaker in spd-say espeak-ng espeak; do
  if command -v "$speaker" >/dev/null; then "$speaker" hi; break; fi
done
notify Rondelix 'Actions can run any shell command.')sh");
}

// Asks the first media player on the session bus for its song; the player's
// reply lists each metadata key on one line and its value on the next (the
// artists, a list, one line further).
std::string currentSongScript() {
    return withNotify(R"sh(player=$(dbus-send --session --print-reply --dest=org.freedesktop.DBus \
  /org/freedesktop/DBus org.freedesktop.DBus.ListNames | grep -o 'org\.mpris\.MediaPlayer2\.[^"]*' | head -n 1)
song=$(dbus-send --session --print-reply --dest="$player" /org/mpris/MediaPlayer2 \
  org.freedesktop.DBus.Properties.Get string:org.mpris.MediaPlayer2.Player string:Metadata)
title=$(printf '%s\n' "$song" | sed -n '/"xesam:title"/{n;s/^[^"]*"//;s/"$//;p;q;}')
artist=$(printf '%s\n' "$song" | sed -n '/"xesam:artist"/{n;/\[$/n;s/^[^"]*"//;s/"$//;p;q;}')
[ -n "$title" ] || exit 1
notify "$title" "$artist")sh");
}

std::vector<SummonBinding> defaultBindings() {
    return {
        binding({58, 55}, 100, true),
        binding({58}, 100, false),
        binding({56}, 150, false),
        binding({SummonKey::firstMouseButtonCode}, 150, false),
    };
}

Wheel mainWheel() {
    return wheel(
        "default", "Main",
        {
            slice(1, "Calculator", Icon::Auto{}, app("com.apple.calculator")),
            slice(2, std::string(makerSiteLabel), symbol("globe"),
                  MacroAction::Url{std::string(makerSiteUrl)}),
            slice(3, "Toggle\nLight/Dark Mode", symbol("circle.lefthalf.filled"),
                  MacroAction::SystemAction{"toggle-dark-mode"}),
            slice(4, "Text Output", symbol("text.quote"),
                  MacroAction::Text{"This is a Text action that pastes whatever you put here, wherever your "
                                    "cursor is. Swap this for an email signature, a code snippet, or any "
                                    "block of text you'd rather not retype."}),
            slice(5, "Say Hi", symbol("hand.wave.fill"), script(sayHiScript())),
            // The desktops open their emoji choosers differently (a key in GTK
            // programs, a program of its own on Plasma): the system action
            // knows each.
            slice(6, "Emoji Picker", symbol("face.smiling"), MacroAction::SystemAction{"emoji-picker"}),
            slice(7, "Wheel Settings", symbol("gearshape.fill"), MacroAction::OpenSettings{}),
        });
}

Wheel appsWheel() {
    // Named by their role: each identifier finds this desktop's program for
    // it (the file manager, the browser, the mail program …).
    static const std::pair<const char*, const char*> apps[] = {
        {"Files", "com.apple.finder"},  {"Web Browser", "com.apple.Safari"},
        {"Email", "com.apple.mail"},    {"Chat", "com.apple.MobileSMS"},
        {"Calendar", "com.apple.iCal"}, {"Notes", "com.apple.Notes"},
        {"Images", "com.apple.Photos"}, {"Settings", "com.apple.systempreferences"},
    };
    std::vector<Slice> slices;
    int position = 0;
    for (const auto& [label, bundleIdentifier] : apps)
        slices.push_back(slice(position++, label, Icon::Auto{}, app(bundleIdentifier)));
    return wheel("apps", "Apps", std::move(slices));
}

Wheel controlCenterWheel() {
    using System = MacroAction::SystemAction;
    using Shortcut = MacroAction::Shortcut;
    return wheel(
        "control-center", "Control Center",
        {
            slice(0, "Toggle Wi-Fi", symbol("wifi"), System{"toggle-wifi"}),
            slice(1, "Toggle Bluetooth", symbol("wave.3.right"), Shortcut{"Toggle Bluetooth"}),
            slice(2, "Toggle Do Not Disturb", symbol("moon.fill"), Shortcut{"Toggle Do Not Disturb"}),
            slice(3, "Toggle Dark Mode", symbol("circle.lefthalf.filled"), System{"toggle-dark-mode"}),
            slice(4, "Screenshot", symbol("camera.viewfinder"), System{"screenshot"}),
            slice(5, "Sleep Display", symbol("powersleep"), System{"sleep-display"}),
            slice(6, "Lock Screen", symbol("lock.fill"), System{"lock-screen"}),
            slice(7, "Mute", symbol("speaker.slash.fill"), System{"toggle-mute"}),
        });
}

Wheel essentialsWheel() {
    // Listed by even positions first, then odd, as the wheel has always been stored.
    return wheel(
        "wheel-5", "Essentials",
        {
            shortcutSlice(0, "Copy", symbol("doc.on.doc"), {.keyCode = 8, .primary = true}),
            shortcutSlice(2, "Paste", symbol("doc.on.clipboard"), {.keyCode = 9, .primary = true}),
            shortcutSlice(4, "Undo", symbol("arrow.uturn.backward"), {.keyCode = 6, .primary = true}),
            shortcutSlice(6, "Select All", symbol("square.dashed"), {.keyCode = 0, .primary = true}),
            shortcutSlice(1, "Cut", symbol("scissors"), {.keyCode = 7, .primary = true}),
            shortcutSlice(3, "Find", symbol("magnifyingglass"), {.keyCode = 3, .primary = true}),
            shortcutSlice(5, "Redo", symbol("arrow.uturn.forward"),
                          {.keyCode = 6, .primary = true, .shift = true}),
            shortcutSlice(7, "Save", symbol("square.and.arrow.down"), {.keyCode = 1, .primary = true}),
        });
}

Wheel musicWheel() {
    // Playback goes through the media keys, which every desktop hands to the
    // player that is playing, and the volume is the desktop's own.
    using System = MacroAction::SystemAction;
    return wheel("music", "Music",
                 {
                     slice(0, "Play\nPause", symbol("playpause.fill"), System{"media-playpause"}),
                     slice(1, "Next", symbol("forward.fill"), System{"media-next"}),
                     slice(2, "Previous", symbol("backward.fill"), System{"media-previous"}),
                     slice(3, "Volume\nUp", symbol("speaker.wave.3.fill"), System{"volume-up"}),
                     slice(4, "Volume\nDown", symbol("speaker.wave.1.fill"), System{"volume-down"}),
                     slice(5, "Search", symbol("magnifyingglass"), keystroke(3, true)),
                     slice(6, "Up Next", symbol("list.bullet"), keystroke(32, true, false, true)),
                     slice(7, "Current\nSong", symbol("music.note"), script(currentSongScript())),
                 });
}

Wheel legacyMusicWheelV18() {
    return wheel(
        "music", "Music",
        {
            slice(0, "Play / Pause", symbol("playpause.fill"), tellMusic("playpause")),
            slice(1, "Music\nVolume Up", symbol("speaker.wave.3.fill"),
                  tellMusic("set sound volume to (sound volume + 10)")),
            slice(2, "Skip", symbol("forward.fill"), tellMusic("next track")),
            slice(3, "Shuffle", symbol("shuffle"), tellMusic("set shuffle enabled to not shuffle enabled")),
            slice(4, "Favorite", symbol("heart.fill"),
                  tellMusic("set favorited of current track to (not (favorited of current track))")),
            slice(5, "Repeat", symbol("repeat"),
                  script("osascript -e 'tell application \"Music\"\n"
                         "if song repeat is off then\n"
                         "set song repeat to all\n"
                         "else if song repeat is all then\n"
                         "set song repeat to one\n"
                         "else\n"
                         "set song repeat to off\n"
                         "end if\n"
                         "end tell'")),
            slice(6, "Previous", symbol("backward.fill"), tellMusic("previous track")),
            slice(7, "Music\nVolume Down", symbol("speaker.wave.1.fill"),
                  tellMusic("set sound volume to (sound volume - 10)")),
        });
}

std::vector<Wheel> addedWheels() {
    return {
        wheel("placeholder", "Placeholder"),
        musicWheel(),
        wheel("wheel-4", "Wheel 4"),
        wheel("wheel-5", "Wheel 5"),
    };
}

std::vector<Wheel> factoryWheels() {
    return {mainWheel(), appsWheel(), controlCenterWheel(), essentialsWheel()};
}

Config factoryConfig() {
    Config config;
    config.version = Config::currentVersion;
    config.bindings = defaultBindings();
    config.wheels = factoryWheels();
    config.lastUsedWheelId = "default";
    return config;
}

} // namespace rondelix::DefaultConfig
