#include "store/ConfigSanitizer.h"

#include "model/ConfigCoding.h"
#include "model/DefaultConfig.h"
#include "model/SummonKey.h"
#include "platform/sim/SimKeyboardLayout.h"
#include "support/ConfigFields.h"
#include "support/DamagedConfigs.h"

#include <cmath>
#include <gtest/gtest.h>

using namespace rondelix;

namespace {

Slice at(int position, Uuid id = Uuid::generate()) {
    return Slice{id, position, "", Icon{}, MacroAction{}};
}

Wheel wheel(std::string id, std::vector<Slice> slices = {}, int sliceCount = 8) {
    return Wheel{std::move(id), "W", sliceCount, std::move(slices), std::nullopt};
}

Config sanitized(std::vector<Wheel> wheels,
                 std::vector<SummonBinding> bindings = {{Uuid::generate(), {58}}}) {
    Config config;
    config.wheels = std::move(wheels);
    config.bindings = std::move(bindings);
    sanitize(config);
    return config;
}

std::vector<std::string> wheelIds(const Config& config) {
    return fields(config.wheels, &Wheel::id);
}
std::vector<int> positions(const Wheel& wheel) {
    return fields(wheel.slices, &Slice::position);
}

} // namespace

TEST(ConfigSanitizer, EmptyConfigurationGetsFactoryWheelsAndOneWorkingBinding) {
    Config config;
    config.exportedIcons = std::map<std::string, std::string>{{"a.png", "AAAA"}};
    config.lastUsedWheelId = "gone";
    sanitize(config);
    EXPECT_FALSE(config.exportedIcons);
    EXPECT_EQ(wheelIds(config), (std::vector<std::string>{"default", "apps", "control-center", "wheel-5"}));
    ASSERT_EQ(config.bindings.size(), 1u);
    EXPECT_EQ(config.bindings[0], (SummonBinding{config.bindings[0].id, {58, 55}, 100, true}));
    EXPECT_EQ(config.lastUsedWheelId, "default");
}

TEST(ConfigSanitizer, WheelsGetUniqueIdsAndSlicesFitTheirSlots) {
    auto config = sanitized({wheel("apps", {at(0)}), wheel("apps", {at(1)}), wheel("b")});
    EXPECT_EQ(wheelIds(config), (std::vector<std::string>{"apps", "b"}));
    EXPECT_EQ(positions(config.wheels[0]), std::vector<int>{0}) << "the first wheel keeps its slices";
    EXPECT_EQ(config.lastUsedWheelId, "apps");

    config = sanitized({wheel(""), wheel("x"), wheel("")});
    EXPECT_EQ(wheelIds(config), (std::vector<std::string>{"recovered-wheel-0", "x", "recovered-wheel-2"}));
    // A recovered id must not push out a later wheel that already bears it.
    config = sanitized({wheel(""), wheel("recovered-wheel-0", {at(0)})});
    EXPECT_EQ(wheelIds(config), (std::vector<std::string>{"recovered-wheel-0-1", "recovered-wheel-0"}));

    config = sanitized({wheel("a", {at(0), at(5), at(9), at(-1)}, 3), wheel("b", {at(2), at(2)}),
                        wheel("c", {at(11), at(12)}, 12)});
    EXPECT_EQ(config.wheels[0].sliceCount, 8);
    EXPECT_EQ(positions(config.wheels[0]), (std::vector<int>{0, 5}));
    EXPECT_EQ(config.wheels[1].slices.size(), 1u);
    EXPECT_EQ(positions(config.wheels[2]), (std::vector<int>{11}));
}

TEST(ConfigSanitizer, MissingAndRepeatedIdsGetDerivedIds) {
    const Uuid shared = Uuid::generate();
    const Uuid derivedFor2And5 = *Uuid::parse("00000000-0000-4000-8000-000000200005");
    auto config =
        sanitized({wheel("a", {at(1, shared), at(4, derivedFor2And5)}),
                   wheel("b", {at(3, Uuid{}), at(0, shared)}), wheel("c", {at(5, shared), at(6, shared)})},
                  {{Uuid{}, {58}}, {Uuid{}, {58}}, {shared, {58}}, {shared, {58}}});
    EXPECT_EQ(config.wheels[0].slices[0].id, shared) << "the first holder keeps its id";
    EXPECT_EQ(config.wheels[1].slices[0].id.text(), "00000000-0000-4000-8000-000000100003");
    EXPECT_EQ(config.wheels[1].slices[1].id.text(), "00000000-0000-4000-8000-000000100000");
    EXPECT_EQ(config.wheels[2].slices[0].id.text(), "00000000-0000-4000-8000-000000200006");
    EXPECT_EQ(config.wheels[2].slices[1].id.text(), "00000000-0000-4000-8000-000000200007");
    EXPECT_EQ(fields(config.bindings, [](const SummonBinding& b) { return b.id.text(); }),
              (std::vector<std::string>{"00000000-0000-4000-8000-010000000000",
                                        "00000000-0000-4000-8000-010000100000", shared.text(),
                                        "00000000-0000-4000-8000-010000300000"}));
}

TEST(ConfigSanitizer, BindingsGetUsableKeysAndOneWorks) {
    auto config = sanitized({wheel("a")}, {{Uuid::generate(), {57, 57, 300, 1005, -1, 12}, -20, false},
                                           {Uuid::generate(), {1030}, 900, false}});
    EXPECT_EQ(config.bindings[0], (SummonBinding{config.bindings[0].id, {58, 1005, 12}, 0, true}));
    EXPECT_EQ(config.bindings[1], (SummonBinding{config.bindings[1].id, {58}, 500, false}));

    config =
        sanitized({wheel("a")}, {{Uuid::generate(), {}, 100, true}, {Uuid::generate(), {56}, 100, false}});
    ASSERT_EQ(config.bindings.size(), 2u) << "nothing is appended when a binding has keys";
    EXPECT_TRUE(config.bindings[1].enabled);

    config = sanitized({wheel("a")}, {{Uuid::generate(), {-1}, 100, true}});
    ASSERT_EQ(config.bindings.size(), 2u) << "the keyless binding stays";
    EXPECT_EQ(config.bindings[1].keyCodes, (std::vector<int>{58, 55}));

    // Eleven keys cannot be held at once: that binding is no working one.
    const std::vector<int> eleven{0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 11};
    config = sanitized({wheel("a")},
                       {{Uuid::generate(), eleven, 100, true}, {Uuid::generate(), {56}, 100, false}});
    ASSERT_EQ(config.bindings.size(), 2u);
    EXPECT_EQ(std::tuple(config.bindings[0].keyCodes, config.bindings[0].enabled, config.bindings[1].enabled),
              std::tuple(eleven, true, true));
}

// Print Screen, Scroll Lock and Pause keep codes of their own through a save,
// a load and sanitizing, and a stored F13 to F15 keeps reading as F13 to F15.
TEST(ConfigSanitizer, PcKeyAndF13ToF15BindingsComeBackUnderTheirNames) {
    const std::vector<std::pair<int, std::string>> keys{
        {108, "Print Screen"}, {112, "Scroll Lock"}, {66, "Pause"}, {105, "F13"}, {107, "F14"}, {113, "F15"}};
    Config config;
    for (const auto& key : keys)
        config.bindings.push_back({Uuid::generate(), {key.first}});
    auto loaded = decodeConfigBytes(writeConfigFile(config));
    ASSERT_TRUE(loaded);
    sanitize(*loaded);
    EXPECT_EQ(loaded->bindings, config.bindings);
    const platform::sim::SimKeyboardLayout layout;
    for (std::size_t i = 0; i < keys.size(); ++i)
        EXPECT_EQ(SummonKey::comboName(loaded->bindings[i].keyCodes, layout), keys[i].second);
}

TEST(ConfigSanitizer, BehaviourNumbersAreClamped) {
    Config config;
    auto& b = config.behavior;
    b.wheelSize = 200, b.closeFadeMs = 0, b.soundVolume = 1.5, b.opacity = std::nan("");
    b.scrollSensitivity = 9, b.heldArrowDelayMs = 50, b.releaseGraceMs = 5000, b.accentStrength = 0.5;
    sanitize(config);
    EXPECT_EQ(std::tuple(b.wheelSize, b.closeFadeMs, b.soundVolume, b.opacity),
              std::tuple(240.0, 80, 1.0, 0.2));
    EXPECT_EQ(std::tuple(b.scrollSensitivity, b.heldArrowDelayMs, b.releaseGraceMs, b.accentStrength),
              std::tuple(1.75, 100, 1000, 0.5));
}

TEST(ConfigSanitizer, IsIdempotentAndKeepsItsPromisesOnDamagedInput) {
    const auto factory = DefaultConfig::factoryConfig();
    auto copy = factory;
    sanitize(copy);
    EXPECT_EQ(copy, factory);
    for (std::uint32_t seed = 0; seed < 3000; ++seed) {
        auto once = damagedConfig(seed);
        sanitize(once);
        ASSERT_TRUE(keepsSanitizedPromises(once)) << "seed " << seed;
        auto twice = once;
        sanitize(twice);
        ASSERT_EQ(twice, once) << "seed " << seed;
    }
}

// Sanitizing after an edit of one wheel gives what sanitizing the whole
// value gives, whatever the edit did to that wheel.
TEST(ConfigSanitizer, AfterAnEditOfOneWheelGivesWhatTheWholeValueGives) {
    const Uuid shared = Uuid::generate();
    const Config start = sanitized({wheel("a", {at(0, shared)}), wheel("b", {at(0), at(1)}), wheel("c")});
    const struct {
        const char* name;
        std::function<void(Wheel&)> edit;
    } cases[] = {
        {"renamed", [](Wheel& w) { w.name = "Renamed"; }},
        {"slice past the slots", [](Wheel& w) { w.slices.push_back(at(12)); }},
        {"fewer slots", [](Wheel& w) { w.sliceCount = 4, w.slices.push_back(at(6)); }},
        {"two slices on one slot", [](Wheel& w) { w.slices.push_back(at(1)); }},
        {"slice id of another wheel", [&](Wheel& w) { w.slices[0].id = shared; }},
        {"id of another wheel", [](Wheel& w) { w.id = "a"; }},
        {"no id", [](Wheel& w) { w.id.clear(); }},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        Config whole = start;
        c.edit(whole.wheels[1]);
        Config oneWheel = whole;
        sanitize(whole);
        sanitizeAfterWheelEdit(oneWheel, 1, start.wheels[1]);
        EXPECT_EQ(oneWheel, whole);
    }
}
