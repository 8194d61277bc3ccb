#include "model/DefaultConfig.h"

#include <algorithm>
#include <gtest/gtest.h>
#include <set>

using namespace rondelix;

namespace {

std::vector<int> positions(const Wheel& wheel) {
    std::vector<int> out;
    for (const auto& slice : wheel.slices)
        out.push_back(slice.position);
    return out;
}

template <typename Record> std::vector<Record> withoutIds(std::vector<Record> records) {
    for (auto& record : records)
        record.id = Uuid{};
    return records;
}

} // namespace

TEST(DefaultConfig, EveryCallBuildsEqualContentWithFreshIds) {
    const auto first = DefaultConfig::factoryConfig();
    const auto second = DefaultConfig::factoryConfig();
    EXPECT_EQ(withoutIds(first.bindings), withoutIds(second.bindings));
    std::set<Uuid> ids;
    std::size_t count = 0;
    for (const auto* config : {&first, &second}) {
        for (const auto& binding : config->bindings)
            ids.insert(binding.id), ++count;
        for (const auto& wheel : config->wheels)
            for (const auto& slice : wheel.slices)
                ids.insert(slice.id), ++count;
    }
    for (std::size_t w = 0; w < first.wheels.size(); ++w)
        EXPECT_EQ(withoutIds(first.wheels[w].slices), withoutIds(second.wheels[w].slices));
    EXPECT_EQ(ids.size(), count);
    EXPECT_FALSE(ids.contains(Config::recoveredIdSentinel));
}

TEST(DefaultConfig, FreshConfigurationHoldsTheFourFactoryWheelsAndBindings) {
    const auto config = DefaultConfig::factoryConfig();
    EXPECT_EQ(config.version, 19);
    EXPECT_EQ(config.lastUsedWheelId, "default");
    EXPECT_FALSE(config.exportedIcons);
    std::vector<std::string> ids;
    for (const auto& wheel : config.wheels) {
        ids.push_back(wheel.id);
        EXPECT_EQ(wheel.sliceCount, 8);
        EXPECT_FALSE(wheel.appBundleIdentifier);
    }
    EXPECT_EQ(ids, (std::vector<std::string>{"default", "apps", "control-center", "wheel-5"}));

    const std::vector<std::vector<int>> keys{{58, 55}, {58}, {56}, {1000}};
    const std::vector<int> thresholds{100, 100, 150, 150};
    ASSERT_EQ(config.bindings.size(), 4u);
    for (std::size_t b = 0; b < 4; ++b) {
        EXPECT_EQ(config.bindings[b].keyCodes, keys[b]);
        EXPECT_EQ(config.bindings[b].holdThresholdMs, thresholds[b]);
        EXPECT_EQ(config.bindings[b].enabled, b == 0) << "only the first binding is on";
    }
}

TEST(DefaultConfig, WheelsKeepTheirShippedSlotLayout) {
    EXPECT_EQ(positions(DefaultConfig::mainWheel()), (std::vector<int>{1, 2, 3, 4, 5, 6, 7}));
    EXPECT_EQ(positions(DefaultConfig::essentialsWheel()), (std::vector<int>{0, 2, 4, 6, 1, 3, 5, 7}));
    for (const auto& wheel : {DefaultConfig::appsWheel(), DefaultConfig::controlCenterWheel(),
                              DefaultConfig::musicWheel(), DefaultConfig::legacyMusicWheelV18()})
        EXPECT_EQ(positions(wheel), (std::vector<int>{0, 1, 2, 3, 4, 5, 6, 7})) << wheel.id;

    const auto main = DefaultConfig::mainWheel();
    EXPECT_EQ(main.slices[5].action,
              MacroAction(MacroAction::Keystroke{KeyCombo{49, true, false, false, true}}));
    const auto repeat = DefaultConfig::legacyMusicWheelV18().slices[5].action.as<MacroAction::Script>();
    ASSERT_TRUE(repeat);
    EXPECT_EQ(std::ranges::count(repeat->source, '\n'), 8) << "the repeat script has nine lines";
}

TEST(DefaultConfig, AddedWheelsAreEmptyPlaceholdersAroundTheMusicWheel) {
    const auto added = DefaultConfig::addedWheels();
    ASSERT_EQ(added.size(), 4u);
    const std::vector<std::pair<std::string, std::string>> expected{{"placeholder", "Placeholder"},
                                                                    {"music", "Apple Music"},
                                                                    {"wheel-4", "Wheel 4"},
                                                                    {"wheel-5", "Wheel 5"}};
    for (std::size_t w = 0; w < 4; ++w) {
        EXPECT_EQ(added[w].id, expected[w].first);
        EXPECT_EQ(added[w].name, expected[w].second);
        EXPECT_EQ(added[w].slices.empty(), w != 1);
    }
}
