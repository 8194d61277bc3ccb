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

MacroAction keystroke(int keyCode, bool command, bool shift = false, bool option = false,
                      bool control = false) {
    return MacroAction::Keystroke{KeyCombo{keyCode, command, shift, option, control}};
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

// The music wheel written here drives whichever player is playing, through
// the desktop's media-player interface.
MacroAction playerctl(const std::string& arguments) {
    return script("playerctl " + arguments);
}

// A keystroke slice labelled with its combination as it is sent: "Copy Ctrl+C".
Slice shortcutSlice(int position, const std::string& word, Icon icon, KeyCombo combo) {
    return slice(position, word + " " + KeyComboText::displayString(combo), std::move(icon),
                 MacroAction::Keystroke{combo});
}

} // namespace

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
            slice(5, "Say Hi", symbol("hand.wave.fill"), script(std::string(sayHiScript))),
            // Control-period opens the emoji chooser of GTK programs; Command
            // travels as Control.
            slice(6, "Emoji Picker", symbol("face.smiling"), keystroke(47, true)),
            slice(7, "Wheel Settings", symbol("gearshape.fill"), MacroAction::OpenSettings{}),
        });
}

Wheel appsWheel() {
    static const std::pair<const char*, const char*> apps[] = {
        {"Finder", "com.apple.finder"}, {"Safari", "com.apple.Safari"},
        {"Mail", "com.apple.mail"},     {"Messages", "com.apple.MobileSMS"},
        {"Calendar", "com.apple.iCal"}, {"Notes", "com.apple.Notes"},
        {"Photos", "com.apple.Photos"}, {"System Settings", "com.apple.systempreferences"},
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
            slice(2, "Toggle Focus", symbol("moon.fill"), Shortcut{"Toggle Focus"}),
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
            shortcutSlice(0, "Copy", symbol("doc.on.doc"), {.keyCode = 8, .command = true}),
            shortcutSlice(2, "Paste", symbol("doc.on.clipboard"), {.keyCode = 9, .command = true}),
            shortcutSlice(4, "Undo", symbol("arrow.uturn.backward"), {.keyCode = 6, .command = true}),
            shortcutSlice(6, "Select All", symbol("square.dashed"), {.keyCode = 0, .command = true}),
            shortcutSlice(1, "Cut", symbol("scissors"), {.keyCode = 7, .command = true}),
            shortcutSlice(3, "Find", symbol("magnifyingglass"), {.keyCode = 3, .command = true}),
            shortcutSlice(5, "Redo", symbol("arrow.uturn.forward"),
                          {.keyCode = 6, .command = true, .shift = true}),
            shortcutSlice(7, "Save", symbol("square.and.arrow.down"), {.keyCode = 1, .command = true}),
        });
}

Wheel musicWheel() {
    return wheel("music", "Apple Music",
                 {
                     slice(0, "Play\nPause", symbol("playpause.fill"), playerctl("play-pause")),
                     slice(1, "Next", symbol("forward.fill"), playerctl("next")),
                     slice(2, "Previous", symbol("backward.fill"), playerctl("previous")),
                     slice(3, "Volume\nUp", symbol("speaker.wave.3.fill"), playerctl("volume 0.1+")),
                     slice(4, "Volume\nDown", symbol("speaker.wave.1.fill"), playerctl("volume 0.1-")),
                     slice(5, "Search", symbol("magnifyingglass"), keystroke(3, true)),
                     slice(6, "Up Next", symbol("list.bullet"), keystroke(32, true, false, true)),
                     slice(7, "Current\nSong", symbol("music.note"), script(std::string(currentSongScript))),
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
