#include "model/DefaultConfig.h"

#include "support/ConfigFields.h"

#include <algorithm>
#include <gtest/gtest.h>
#include <map>
#include <set>

using namespace rondelix;

namespace {

// Zeroes every id and collects it, so two builds compare by content.
Config withoutIds(Config config, std::vector<Uuid>& ids) {
    for (auto& binding : config.bindings)
        ids.push_back(std::exchange(binding.id, Uuid{}));
    for (auto& wheel : config.wheels)
        for (auto& slice : wheel.slices)
            ids.push_back(std::exchange(slice.id, Uuid{}));
    return config;
}

} // namespace

TEST(DefaultConfig, EveryBuildHasEqualContentAndFreshIds) {
    std::vector<Uuid> ids{Config::recoveredIdSentinel};
    EXPECT_EQ(withoutIds(DefaultConfig::factoryConfig(), ids),
              withoutIds(DefaultConfig::factoryConfig(), ids));
    EXPECT_EQ(std::set<Uuid>(ids.begin(), ids.end()).size(), ids.size());
}

TEST(DefaultConfig, FreshConfigurationHoldsTheShippedWheelsAndBindings) {
    const auto config = DefaultConfig::factoryConfig();
    EXPECT_EQ(fields(config.wheels, &Wheel::id),
              (std::vector<std::string>{"default", "apps", "control-center", "wheel-5"}));
    EXPECT_EQ(std::tuple(config.version, config.lastUsedWheelId, config.bindings.size()),
              std::tuple(19, std::string("default"), std::size_t{4}));
    for (std::size_t b = 0; b < config.bindings.size(); ++b)
        EXPECT_EQ(config.bindings[b].enabled, b == 0);
    EXPECT_EQ(fields(config.wheels[0].slices, &Slice::position), (std::vector<int>{1, 2, 3, 4, 5, 6, 7}));
    EXPECT_EQ(config.wheels[0].sliceCount, 8);
    EXPECT_EQ(fields(config.wheels[3].slices, &Slice::position), (std::vector<int>{0, 2, 4, 6, 1, 3, 5, 7}));

    const auto added = DefaultConfig::addedWheels();
    EXPECT_EQ(std::tuple(added.size(), added[3].id, added[3].name, added[3].slices.size()),
              std::tuple(std::size_t{4}, std::string("wheel-5"), std::string("Wheel 5"), std::size_t{0}));
}

namespace {

struct ShippedSlice {
    const char* wheel;
    int position;
    const char* label;
    const char* symbol; // empty: the automatic icon
    MacroAction action; // as the other system's factory wheel has it
};

MacroAction keys(int code, bool primary, bool shift = false, bool alt = false, bool control = false) {
    return MacroAction::Keystroke{KeyCombo{code, primary, shift, alt, control}};
}

MacroAction tell(const std::string& command) {
    return MacroAction::Script{"osascript -e 'tell application \"Music\" to " + command + "'"};
}

// The factory wheels as the other system ships them. Labels that wrote a
// key combination in that system's symbols, or used its words, are given
// here as sent here.
const std::vector<ShippedSlice>& shippedSlices() {
    using A = MacroAction;
    static const std::vector<ShippedSlice> rows{
        {"default", 1, "Calculator", "", A::App{"com.apple.calculator", std::nullopt}},
        {"default", 3, "Toggle\nLight/Dark Mode", "circle.lefthalf.filled",
         A::SystemAction{"toggle-dark-mode"}},
        {"default", 5, "Say Hi", "hand.wave.fill",
         A::Script{
             "say hi; osascript -e 'display notification \"Actions can run any shell command.\" with title "
             "\"Rondelix\"'"}},
        {"default", 6, "Emoji Picker", "face.smiling", keys(49, true, false, false, true)},
        {"default", 7, "Wheel Settings", "gearshape.fill", A::OpenSettings{}},
        {"apps", 0, "Files", "", A::App{"com.apple.finder", std::nullopt}},
        {"apps", 7, "Settings", "", A::App{"com.apple.systempreferences", std::nullopt}},
        {"control-center", 1, "Toggle Bluetooth", "wave.3.right", A::Shortcut{"Toggle Bluetooth"}},
        {"control-center", 2, "Toggle Do Not Disturb", "moon.fill", A::Shortcut{"Toggle Focus"}},
        {"control-center", 4, "Screenshot", "camera.viewfinder", A::SystemAction{"screenshot"}},
        {"wheel-5", 0, "Copy Ctrl+C", "doc.on.doc", keys(8, true)},
        {"wheel-5", 2, "Paste Ctrl+V", "doc.on.clipboard", keys(9, true)},
        {"wheel-5", 5, "Redo Ctrl+Shift+Z", "arrow.uturn.forward", keys(6, true, true)},
        {"wheel-5", 6, "Select All Ctrl+A", "square.dashed", keys(0, true)},
        {"music", 0, "Play\nPause", "playpause.fill", tell("playpause")},
        {"music", 1, "Next", "forward.fill", tell("next track")},
        {"music", 2, "Previous", "backward.fill", tell("previous track")},
        {"music", 3, "Volume\nUp", "speaker.wave.3.fill", tell("set sound volume to (sound volume + 10)")},
        {"music", 4, "Volume\nDown", "speaker.wave.1.fill", tell("set sound volume to (sound volume - 10)")},
        {"music", 6, "Up Next", "list.bullet", keys(32, true, false, true)},
        {"music", 7, "Current\nSong", "music.note", tell("reveal current track")},
    };
    return rows;
}

// What runs here instead, where the other system's command or keystroke
// does not exist on this one.
const std::map<std::pair<std::string, int>, MacroAction>& linuxCounterparts() {
    using A = MacroAction;
    static const std::map<std::pair<std::string, int>, MacroAction> rows{
        {{"default", 5}, A::Script{DefaultConfig::sayHiScript()}},
        {{"default", 6}, A::SystemAction{"emoji-picker"}},
        {{"control-center", 2}, A::Shortcut{"Toggle Do Not Disturb"}},
        {{"music", 0}, A::SystemAction{"media-playpause"}},
        {{"music", 1}, A::SystemAction{"media-next"}},
        {{"music", 2}, A::SystemAction{"media-previous"}},
        {{"music", 3}, A::SystemAction{"volume-up"}},
        {{"music", 4}, A::SystemAction{"volume-down"}},
        {{"music", 7}, A::Script{DefaultConfig::currentSongScript()}},
    };
    return rows;
}

} // namespace

TEST(DefaultConfig, KeepsEveryShippedSliceAndRunsItsLinuxCounterpartWhereItsCommandIsMissing) {
    auto wheels = DefaultConfig::factoryWheels();
    wheels.push_back(DefaultConfig::musicWheel());
    for (const auto& row : shippedSlices()) {
        const auto wheel = std::ranges::find(wheels, std::string(row.wheel), &Wheel::id);
        ASSERT_NE(wheel, wheels.end()) << row.wheel;
        const auto slice = std::ranges::find(wheel->slices, row.position, &Slice::position);
        ASSERT_NE(slice, wheel->slices.end()) << row.wheel << " " << row.position;
        const Icon icon = *row.symbol ? Icon(Icon::SfSymbol{row.symbol}) : Icon(Icon::Auto{});
        EXPECT_EQ(std::tie(slice->label, slice->icon), std::tie(row.label, icon))
            << row.wheel << row.position;
        const auto counterpart = linuxCounterparts().find({row.wheel, row.position});
        EXPECT_EQ(slice->action, counterpart == linuxCounterparts().end() ? row.action : counterpart->second)
            << row.wheel << " " << row.position;
    }
}

TEST(DefaultConfig, NoFactorySliceNamesTheOtherSystemsTools) {
    auto wheels = DefaultConfig::factoryWheels();
    wheels.push_back(DefaultConfig::musicWheel());
    for (const auto& wheel : wheels)
        for (const auto& slice : wheel.slices) {
            EXPECT_EQ(slice.label.find("\u2318"), std::string::npos) << slice.label;
            if (const auto* script = slice.action.as<MacroAction::Script>()) {
                EXPECT_EQ(script->source.find("osascript"), std::string::npos) << script->source;
                EXPECT_FALSE(script->source.starts_with("say ")) << script->source;
            }
        }
    // Recognising an unedited older music wheel still needs the old content.
    EXPECT_EQ(DefaultConfig::legacyMusicWheelV18().slices[0].action, tell("playpause"));
}
