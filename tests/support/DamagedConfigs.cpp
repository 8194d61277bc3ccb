#include "support/DamagedConfigs.h"

#include <limits>
#include <random>
#include <set>

namespace rondelix {

Config damagedConfig(std::uint32_t seed) {
    std::mt19937 engine(seed);
    const auto upTo = [&](int n) { return std::uniform_int_distribution<int>(0, n)(engine); };
    const auto pick = [&](const auto& pool) { return pool[upTo(static_cast<int>(std::size(pool)) - 1)]; };
    // Sentinel, a repeated id and one that sanitizing would derive for (0, 0).
    const Uuid ids[] = {Uuid{}, *Uuid::parse("6F1C2A3B-4D5E-4F60-8A7B-9C0D1E2F3A4B"),
                        *Uuid::parse("00000000-0000-4000-8000-000000000000"), Uuid::generate()};
    const char* wheelIds[] = {"",      "a",       "apps",        "default",
                              "music", "wheel-4", "placeholder", "recovered-wheel-1"};
    const MacroAction actions[] = {MacroAction::Text{}, MacroAction::OpenSettings{}, MacroAction::App{},
                                   MacroAction::Script{"tell application \"Music\""}};
    const double nan = std::numeric_limits<double>::quiet_NaN(),
                 inf = std::numeric_limits<double>::infinity();
    const double reals[] = {-1e9, 0, 0.5, 1.5, 300, inf, nan};
    const int ints[] = {std::numeric_limits<int>::min(), -5, 0, 120, 700, std::numeric_limits<int>::max()};
    const int keyCodes[] = {-1, 0, 55, 57, 58, 127, 128, 999, 1000, 1029, 1030};

    Config config;
    config.version = pick(std::array{-1, 0, 1, 5, 11, 18, 19, 20});
    for (int w = upTo(6); w > 0; --w) {
        Wheel& wheel =
            config.wheels.emplace_back(Wheel{pick(wheelIds), "W", pick(std::array{-3, 3, 4, 8, 12, 40})});
        for (int s = upTo(15); s > 0; --s)
            wheel.slices.push_back(Slice{pick(ids), upTo(16) - 2,
                                         pick(std::array{"", "Settings", "Volume Up"}), Icon::None{},
                                         pick(actions)});
    }
    for (int b = upTo(4); b > 0; --b) {
        SummonBinding& binding =
            config.bindings.emplace_back(SummonBinding{pick(ids), {}, pick(ints), upTo(1) == 1});
        for (int k = upTo(6); k > 0; --k)
            binding.keyCodes.push_back(pick(keyCodes));
    }
    auto& b = config.behavior;
    for (double* real : {&b.wheelSize, &b.opacity, &b.soundVolume, &b.accentStrength, &b.scrollSensitivity})
        *real = pick(reals);
    for (int* integer : {&b.closeFadeMs, &b.heldArrowDelayMs, &b.releaseGraceMs})
        *integer = pick(ints);
    config.lastUsedWheelId = pick(wheelIds);
    if (upTo(1)) config.exportedIcons = std::map<std::string, std::string>{{"a.png", "AAAA"}};
    return config;
}

::testing::AssertionResult keepsSanitizedPromises(const Config& config) {
    const auto broken = [](const std::string& what) { return ::testing::AssertionFailure() << what; };
    std::set<std::string> wheelIds;
    std::set<Uuid> sliceIds, bindingIds;
    for (const auto& wheel : config.wheels) {
        if (wheel.id.empty() || !wheelIds.insert(wheel.id).second) return broken("wheel id " + wheel.id);
        if (wheel.sliceCount < 4 || wheel.sliceCount > 12) return broken("slot count of " + wheel.id);
        std::set<int> positions;
        for (const auto& slice : wheel.slices)
            if (slice.position < 0 || slice.position >= wheel.sliceCount ||
                !positions.insert(slice.position).second || slice.id.isNil() ||
                !sliceIds.insert(slice.id).second)
                return broken("slice at " + std::to_string(slice.position) + " in " + wheel.id);
    }
    bool working = false;
    for (const auto& binding : config.bindings) {
        std::set<int> codes;
        for (int c : binding.keyCodes)
            if (!((c >= 0 && c <= 127 && c != 57) || (c >= 1000 && c <= 1029)) || !codes.insert(c).second)
                return broken("key code " + std::to_string(c));
        if (binding.id.isNil() || !bindingIds.insert(binding.id).second || binding.holdThresholdMs < 0 ||
            binding.holdThresholdMs > 500)
            return broken("binding " + binding.id.text());
        working = working || (binding.enabled && !codes.empty());
    }
    const auto& b = config.behavior;
    const auto in = [](double v, double lowest, double highest) { return v >= lowest && v <= highest; };
    const bool inRange = in(b.opacity, 0.2, 1) && in(b.accentStrength, 0.2, 1) && in(b.wheelSize, 240, 480) &&
                         in(b.closeFadeMs, 80, 500) && in(b.scrollSensitivity, 0.25, 1.75) &&
                         in(b.heldArrowDelayMs, 100, 1000) && in(b.releaseGraceMs, 50, 1000) &&
                         in(b.soundVolume, 0, 1);
    if (config.exportedIcons || config.wheels.empty() || !working || !inRange ||
        !wheelIds.contains(config.lastUsedWheelId))
        return broken(
            "exported icons, no wheel, no working binding, a number out of range or a lost last wheel");
    return ::testing::AssertionSuccess();
}

} // namespace rondelix
