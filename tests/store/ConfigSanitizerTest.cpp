#include "store/ConfigSanitizer.h"

#include "model/DefaultConfig.h"
#include "support/DamagedConfigs.h"

#include <gtest/gtest.h>

using namespace rondelix;

namespace {

Slice at(int position, Uuid id = Uuid::generate()) {
    return Slice{id, position, "", Icon{}, MacroAction{}};
}

Wheel wheel(std::string id, std::vector<Slice> slices = {}, int sliceCount = 8) {
    return Wheel{std::move(id), "W", sliceCount, std::move(slices), std::nullopt};
}

Config withWheels(std::vector<Wheel> wheels) {
    Config config;
    config.wheels = std::move(wheels);
    config.bindings = {SummonBinding{Uuid::generate(), {58}, 100, true}};
    config.lastUsedWheelId = config.wheels.front().id;
    return config;
}

Config sanitized(Config config) {
    sanitize(config);
    return config;
}

std::vector<std::string> wheelIds(const Config& config) {
    std::vector<std::string> ids;
    for (const auto& w : config.wheels)
        ids.push_back(w.id);
    return ids;
}

std::vector<int> positions(const Wheel& wheel) {
    std::vector<int> out;
    for (const auto& slice : wheel.slices)
        out.push_back(slice.position);
    return out;
}

} // namespace

TEST(ConfigSanitizer, EmptyConfigurationGetsFactoryWheelsAndOneWorkingBinding) {
    Config config;
    config.exportedIcons = std::map<std::string, std::string>{{"a.png", "AAAA"}};
    sanitize(config);
    EXPECT_FALSE(config.exportedIcons);
    EXPECT_EQ(wheelIds(config), (std::vector<std::string>{"default", "apps", "control-center", "wheel-5"}));
    ASSERT_EQ(config.bindings.size(), 1u);
    EXPECT_EQ(config.bindings[0].keyCodes, (std::vector<int>{58, 55}));
    EXPECT_EQ(config.bindings[0].holdThresholdMs, 100);
    EXPECT_TRUE(config.bindings[0].enabled);
    EXPECT_EQ(config.lastUsedWheelId, "default");
}

TEST(ConfigSanitizer, WheelIdsAreRecoveredAndRepeatsDropped) {
    auto config = sanitized(withWheels({wheel("apps", {at(0)}), wheel("apps", {at(1)}), wheel("b")}));
    EXPECT_EQ(wheelIds(config), (std::vector<std::string>{"apps", "b"}));
    EXPECT_EQ(positions(config.wheels[0]), std::vector<int>{0}) << "the first wheel keeps its slices";

    config = sanitized(withWheels({wheel(""), wheel("x"), wheel("")}));
    EXPECT_EQ(wheelIds(config), (std::vector<std::string>{"recovered-wheel-0", "x", "recovered-wheel-2"}));

    // A recovered id must not push out a later wheel that already bears it.
    config = sanitized(withWheels({wheel(""), wheel("recovered-wheel-0", {at(0)})}));
    EXPECT_EQ(wheelIds(config), (std::vector<std::string>{"recovered-wheel-0-1", "recovered-wheel-0"}));
}

TEST(ConfigSanitizer, SlicesFitTheirWheelsSlots) {
    auto config =
        sanitized(withWheels({wheel("a", {at(0), at(5), at(9), at(-1)}, 3), wheel("b", {at(2), at(2)})}));
    EXPECT_EQ(config.wheels[0].sliceCount, 8);
    EXPECT_EQ(positions(config.wheels[0]), (std::vector<int>{0, 5}));
    ASSERT_EQ(config.wheels[1].slices.size(), 1u);
    config = sanitized(withWheels({wheel("a", {at(11), at(12)}, 12), wheel("b", {at(3)}, 13)}));
    EXPECT_EQ(positions(config.wheels[0]), (std::vector<int>{11}));
    EXPECT_EQ(config.wheels[1].sliceCount, 8);
}

TEST(ConfigSanitizer, MissingAndRepeatedIdsGetDerivedIds) {
    const Uuid shared = Uuid::generate();
    auto config = withWheels({wheel("a", {at(1, shared), at(4)}), wheel("b", {at(3, Uuid{}), at(0, shared)}),
                              wheel("c", {at(5, shared)})});
    config.wheels[0].slices[1].id = *Uuid::parse("00000000-0000-4000-8000-000000200005");
    config.wheels[2].slices.push_back(at(6, shared));
    config.bindings = {SummonBinding{Uuid{}, {58}}, SummonBinding{Uuid{}, {58}}, SummonBinding{Uuid{}, {58}}};
    sanitize(config);
    EXPECT_EQ(config.wheels[1].slices[0].id.text(), "00000000-0000-4000-8000-000000100003");
    EXPECT_EQ(config.wheels[1].slices[1].id.text(), "00000000-0000-4000-8000-000000100000");
    EXPECT_EQ(config.wheels[2].slices[0].id.text(), "00000000-0000-4000-8000-000000200006")
        << "(2, 5) is taken by the first wheel, so the next number is used";
    EXPECT_EQ(config.wheels[2].slices[1].id.text(), "00000000-0000-4000-8000-000000200007");
    EXPECT_EQ(config.wheels[0].slices[0].id, shared) << "the first holder keeps its id";
    EXPECT_EQ(config.bindings[0].id.text(), "00000000-0000-4000-8000-010000000000");
    EXPECT_EQ(config.bindings[1].id.text(), "00000000-0000-4000-8000-010000100000");
    EXPECT_EQ(config.bindings[2].id.text(), "00000000-0000-4000-8000-010000200000");

    const Uuid same = Uuid::generate();
    config.bindings = {SummonBinding{same, {58}}, SummonBinding{same, {58}}};
    sanitize(config);
    EXPECT_EQ(config.bindings[0].id, same);
    EXPECT_EQ(config.bindings[1].id.text(), "00000000-0000-4000-8000-010000100000");
}

TEST(ConfigSanitizer, BindingsGetUsableKeysAndOneWorks) {
    auto config = withWheels({wheel("a")});
    config.bindings = {SummonBinding{Uuid::generate(), {57, 57, 300, 1005, -1, 12}, -20, false},
                       SummonBinding{Uuid::generate(), {1030}, 900, false}};
    sanitize(config);
    EXPECT_EQ(config.bindings[0].keyCodes, (std::vector<int>{58, 1005, 12}));
    EXPECT_EQ(config.bindings[1].keyCodes, (std::vector<int>{58}));
    EXPECT_EQ(config.bindings[0].holdThresholdMs, 0);
    EXPECT_EQ(config.bindings[1].holdThresholdMs, 500);
    EXPECT_TRUE(config.bindings[0].enabled);
    EXPECT_FALSE(config.bindings[1].enabled);

    config.bindings = {SummonBinding{Uuid::generate(), {}, 100, true},
                       SummonBinding{Uuid::generate(), {56}, 100, false}};
    sanitize(config);
    ASSERT_EQ(config.bindings.size(), 2u) << "nothing is appended when a binding has keys";
    EXPECT_TRUE(config.bindings[1].enabled);

    config.bindings = {SummonBinding{Uuid::generate(), {-1}, 100, true}};
    sanitize(config);
    ASSERT_EQ(config.bindings.size(), 2u) << "the keyless binding stays";
    EXPECT_EQ(config.bindings[1].keyCodes, (std::vector<int>{58, 55}));
}

TEST(ConfigSanitizer, BehaviourNumbersAreClampedAndLastUsedWheelExists) {
    auto config = withWheels({wheel("a"), wheel("b")});
    auto& b = config.behavior;
    b.wheelSize = 200, b.closeFadeMs = 0, b.soundVolume = 1.5, b.opacity = std::nan("");
    b.scrollSensitivity = 9, b.heldArrowDelayMs = 50, b.releaseGraceMs = 5000, b.accentStrength = 0.5;
    config.lastUsedWheelId = "gone";
    sanitize(config);
    EXPECT_EQ(b.wheelSize, 240);
    EXPECT_EQ(b.closeFadeMs, 80);
    EXPECT_EQ(b.soundVolume, 1.0);
    EXPECT_EQ(b.opacity, 0.2);
    EXPECT_EQ(b.scrollSensitivity, 1.75);
    EXPECT_EQ(b.heldArrowDelayMs, 100);
    EXPECT_EQ(b.releaseGraceMs, 1000);
    EXPECT_EQ(b.accentStrength, 0.5);
    EXPECT_EQ(config.lastUsedWheelId, "a");
}

TEST(ConfigSanitizer, IsIdempotentAndKeepsItsPromisesOnDamagedInput) {
    const auto factory = DefaultConfig::factoryConfig();
    EXPECT_EQ(sanitized(factory), factory);
    for (std::uint32_t seed = 0; seed < 3000; ++seed) {
        const auto once = sanitized(damagedConfig(seed));
        ASSERT_TRUE(keepsSanitizedPromises(once)) << "seed " << seed;
        ASSERT_EQ(sanitized(once), once) << "seed " << seed;
    }
}
