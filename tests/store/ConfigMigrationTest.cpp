#include "store/ConfigMigration.h"

#include "model/ConfigCoding.h"
#include "model/DefaultConfig.h"
#include "store/ConfigSanitizer.h"
#include "support/ConfigFields.h"
#include "support/DamagedConfigs.h"

#include <gtest/gtest.h>

using namespace rondelix;

namespace {

using Settings = MacroAction::OpenSettings;
using Text = MacroAction::Text;
using Script = MacroAction::Script;

Slice slice(int position, std::string label, MacroAction action = Text{}, Icon icon = Icon::None{}) {
    return Slice{Uuid::generate(), position, std::move(label), std::move(icon), std::move(action)};
}

Wheel wheel(std::string id, std::vector<Slice> slices) {
    return Wheel{std::move(id), "W", 8, std::move(slices), std::nullopt};
}

Config after(int step, std::vector<Wheel> wheels, std::vector<SummonBinding> bindings = {}) {
    Config config;
    config.wheels = std::move(wheels);
    config.bindings = std::move(bindings);
    applyMigrationStep(step, config);
    return config;
}

std::vector<std::string> ids(const Config& config) {
    return fields(config.wheels, &Wheel::id);
}
std::vector<std::string> labels(const Wheel& wheel) {
    return fields(wheel.slices, &Slice::label);
}

std::vector<std::string> labelsAfter(int step, std::string id, std::vector<Slice> slices) {
    return labels(after(step, {wheel(std::move(id), std::move(slices))}).wheels.at(0));
}

using Keys = std::vector<std::tuple<std::vector<int>, int, bool>>;
Keys keys(const Config& config) {
    return fields(config.bindings,
                  [](const auto& b) { return std::tuple(b.keyCodes, b.holdThresholdMs, b.enabled); });
}

const MacroAction darkMode = MacroAction::SystemAction{"toggle-dark-mode"};

} // namespace

TEST(ConfigMigration, CurrentAndNewerVersionsAreLeftUntouched) {
    for (int version : {19, 20}) {
        auto config = damagedConfig(7);
        config.version = version;
        config.behavior = Behavior{}; // no NaN, which never equals itself
        const auto before = config;
        EXPECT_FALSE(migrateIfNeeded(config));
        EXPECT_EQ(config, before) << "not even sanitized";
    }
}

TEST(ConfigMigration, VersionOneFileUpgradesRawAndInTheStoresOrder) {
    const auto file = decodeConfigBytes(R"({"behavior": {"reopenLastWheel": false},
                                            "wheels": [{"id": "default", "name": "Default"}]})");
    ASSERT_TRUE(file);
    auto raw = *file, stored = *file;
    sanitize(stored); // the store sanitizes what it loads before migrating
    ASSERT_TRUE(migrateIfNeeded(raw) && migrateIfNeeded(stored));
    EXPECT_FALSE(migrateIfNeeded(raw)) << "a second call finds version 19";
    for (const auto* config : {&raw, &stored}) {
        EXPECT_EQ(config->version, 19);
        EXPECT_TRUE(config->behavior.reopenLastWheel);
        EXPECT_EQ(ids(*config),
                  (std::vector<std::string>{"default", "apps", "music", "control-center", "wheel-5"}));
        const auto& main = config->wheels[0];
        EXPECT_EQ(main.name, "Main");
        EXPECT_EQ(main.slices, (std::vector<Slice>{{main.slices.at(0).id, 0, "Wheel Settings",
                                                    Icon::SfSymbol{"gearshape.fill"}, Settings{}}}));
        EXPECT_EQ(labels(config->wheels[2]), labels(DefaultConfig::musicWheel()));
        EXPECT_EQ(config->wheels[4].name, "Essentials");
        EXPECT_TRUE(keepsSanitizedPromises(*config));
    }
    EXPECT_EQ(keys(raw),
              (Keys{{{58}, 100, true}, {{58, 55}, 100, false}, {{56}, 150, false}, {{1000}, 150, false}}));
    // Sanitized first, the file already has Option + Command when the binding steps look.
    EXPECT_EQ(keys(stored),
              (Keys{{{58, 55}, 100, true}, {{58}, 100, false}, {{56}, 150, false}, {{1000}, 150, false}}));
}

TEST(ConfigMigration, EarlyStepsCompleteTheMainWheelAndAddMissingWheels) {
    EXPECT_EQ(labelsAfter(2, "default", {slice(1, "x")}), (std::vector<std::string>{"x", "Settings"}));
    EXPECT_EQ(labelsAfter(2, "default", {slice(0, "x")}), std::vector<std::string>{"x"});

    auto config = after(3, {{"default", "Default"}, DefaultConfig::essentialsWheel()});
    EXPECT_EQ(config.wheels[0].name, "Main");
    EXPECT_EQ(ids(config),
              (std::vector<std::string>{"default", "wheel-5", "placeholder", "music", "wheel-4"}));
    EXPECT_EQ(config.wheels[1].name, "Essentials") << "appending by missing id never replaces";

    EXPECT_EQ(labelsAfter(5, "music", {slice(0, "a"), slice(3, "b")}),
              (std::vector<std::string>{"a", "b", "Next", "Previous", "Volume\nDown", "Search", "Up Next",
                                        "Current\nSong"}));

    auto main =
        after(7, {wheel("default", {slice(0, "Settings", Text{""}), slice(1, "Settings", Text{"x"})})});
    EXPECT_EQ(main.wheels[0].slices[0].action, MacroAction(Settings{}));
    EXPECT_EQ(main.wheels[0].slices[0].icon, Icon(Icon::SfSymbol{"gearshape.fill"}));
    main.wheels[0].slices[0].action = Text{"x"};
    EXPECT_EQ(after(7, main.wheels).wheels, main.wheels) << "only an empty text is the old Settings slice";
    EXPECT_EQ(labelsAfter(10, "default", {slice(0, "Settings", Settings{"x"})}),
              std::vector<std::string>{"Wheel Settings"});
}

// Filling placeholders is covered by the version 1 chain; these are the cases it must leave alone.
TEST(ConfigMigration, PlaceholdersGiveWayToTheUsersWheels) {
    EXPECT_EQ(labelsAfter(11, "wheel-5", {slice(0, "mine")}), std::vector<std::string>{"mine"});
    for (auto [placeholder, taken] :
         {std::pair{"placeholder", "apps"}, std::pair{"wheel-4", "control-center"}}) {
        Config config;
        config.version = 3;
        config.wheels = {{placeholder}, wheel(taken, {slice(0, "mine")})};
        migrateIfNeeded(config);
        EXPECT_EQ(ids(config)[0], taken) << "the user's wheel stays, the empty placeholder goes";
        EXPECT_EQ(labels(config.wheels[0]), std::vector<std::string>{"mine"});
    }
    // An empty wheel of the factory id loses nothing, so the placeholder is filled as before.
    EXPECT_EQ(labels(after(4, {{"placeholder"}, {"apps"}}).wheels[0]), labels(DefaultConfig::appsWheel()));
}

TEST(ConfigMigration, BindingStepsDropUnusableAndAddMissingFactoryBindings) {
    EXPECT_EQ(keys(after(6, {}, {{Uuid::generate(), {-1}}, {Uuid::generate(), {}}})),
              (Keys{{{58}, 100, true}}));
    auto config =
        after(18, {}, {{Uuid::generate(), {55, 58}, 100, true}, {Uuid::generate(), {58, 58}, 120, true}});
    EXPECT_EQ(keys(config),
              (Keys{{{55, 58}, 100, true}, {{58, 58}, 100, true}, {{56}, 150, false}, {{1000}, 150, false}}));
    config.bindings[1].holdThresholdMs = 150;
    EXPECT_EQ(keys(after(18, {}, config.bindings)), keys(config)) << "a threshold other than 120 stays";
}

TEST(ConfigMigration, UneditedOldMainWheelsAreReplacedKeepingNameAndApp) {
    auto v11 = wheel("default",
                     {slice(0, "Wheel Settings", Settings{}), slice(2, "Toggle Dark Mode", darkMode),
                      slice(4, "Shrug"), slice(6, "Calculator", MacroAction::App{"com.apple.calculator"})});
    v11.name = "Mine", v11.appBundleIdentifier = "com.example.editor";
    const auto replaced = after(12, {v11}).wheels[0];
    EXPECT_EQ(std::tuple(replaced.name, replaced.appBundleIdentifier, labels(replaced)),
              std::tuple(v11.name, v11.appBundleIdentifier, labels(DefaultConfig::mainWheel())));
    v11.slices.push_back(slice(7, "extra"));
    EXPECT_EQ(after(12, {v11}).wheels[0], v11);

    const std::vector<Slice> others{slice(0, "a"), slice(1, "b"), slice(5, "c"), slice(7, "d")};
    auto v12 = wheel("default", others), v13 = v12;
    v12.slices.insert(v12.slices.end(), {slice(2, "rondelix.app", MacroAction::Url{"https://x"}),
                                         slice(4, "Shrug"), slice(6, "Spotlight", Script{"open"})});
    v13.slices.insert(v13.slices.end(),
                      {slice(2, "tovarel.com", MacroAction::Url{"https://tovarel.com"}),
                       slice(3, "Toggle Light/Dark Mode", darkMode),
                       slice(6, "Emoji Picker", MacroAction::Keystroke{{49, true, false, false, true}})});
    EXPECT_EQ(labels(after(13, {v12}).wheels[0]), labels(DefaultConfig::mainWheel()));
    EXPECT_EQ(labels(after(14, {v13}).wheels[0]), labels(DefaultConfig::mainWheel()));
    v13.slices[5].label = "Toggle\nLight/Dark Mode";
    EXPECT_EQ(after(14, {v13}).wheels[0], v13);
}

TEST(ConfigMigration, LabelIconAndSettingStepsTouchOnlyFactoryContent) {
    EXPECT_EQ(
        labelsAfter(9, "control-center",
                    {slice(0, "Wi-Fi"), slice(1, "Dark Mode"), slice(2, "Wifi"), slice(3, "Focus")}),
        (std::vector<std::string>{"Toggle Wi-Fi", "Toggle Dark Mode", "Wifi", "Toggle Do Not Disturb"}));
    EXPECT_TRUE(after(15, {}).behavior.reopenLastWheel);

    const auto icons =
        after(16, {wheel("a", {slice(0, "", MacroAction::App{}), slice(1, "", Settings{}), slice(2, ""),
                               slice(3, "", MacroAction::Url{""}, Icon::Emoji{"x"})})});
    EXPECT_EQ(fields(icons.wheels[0].slices, &Slice::icon),
              (std::vector<Icon>{Icon::Auto{}, Icon::Auto{}, Icon::None{}, Icon::Emoji{"x"}}));

    EXPECT_EQ(labelsAfter(17, "music",
                          {slice(0, "Volume Up", Script{"osascript -e 'tell application \"Music\" to x'"}),
                           slice(1, "Volume Down", Script{"tell application \"Radio\""}),
                           slice(2, "Volume Up", Text{"tell application \"Music\""})}),
              (std::vector<std::string>{"Music\nVolume Up", "Volume Down", "Volume Up"}));
}

TEST(ConfigMigration, UneditedVersion18MusicWheelBecomesTheCurrentOne) {
    auto legacy = DefaultConfig::legacyMusicWheelV18();
    std::ranges::reverse(legacy.slices);
    legacy.slices[0].icon = Icon::Emoji{"x"};
    const auto replaced = after(19, {{"a"}, legacy}).wheels[1];
    EXPECT_EQ(std::pair(replaced.name, labels(replaced)),
              std::pair(std::string("Music"), labels(DefaultConfig::musicWheel())));

    auto relabelled = DefaultConfig::legacyMusicWheelV18(), fewer = relabelled, more = relabelled;
    relabelled.slices[3].label = "Mix";
    fewer.slices.pop_back();
    more.slices.push_back(more.slices[7]);
    for (const auto& edited : {relabelled, fewer, more})
        EXPECT_EQ(after(19, {edited}).wheels[0], edited);
}

TEST(ConfigMigration, DamagedInputEndsSanitizedWithBoundedGrowth) {
    for (std::uint32_t seed = 0; seed < 2000; ++seed) {
        auto config = damagedConfig(seed);
        config.version = static_cast<int>(seed % 20) - 1;
        if (seed % 2) sanitize(config);
        const auto wheels = std::max<std::size_t>(config.wheels.size(), 4), bindings = config.bindings.size();
        ASSERT_TRUE(migrateIfNeeded(config));
        ASSERT_TRUE(keepsSanitizedPromises(config)) << "seed " << seed;
        EXPECT_LE(config.wheels.size(), wheels + 4) << "seed " << seed;
        EXPECT_LE(config.bindings.size(), bindings + 5) << "seed " << seed;
    }
}
