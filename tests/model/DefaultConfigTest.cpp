#include "model/DefaultConfig.h"

#include "support/ConfigFields.h"

#include <gtest/gtest.h>
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
