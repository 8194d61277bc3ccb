#include "support/DamagedConfigs.h"

#include <algorithm>
#include <limits>
#include <random>
#include <set>
#include <string>
#include <vector>

namespace rondelix {

namespace {

class Draw {
  public:
    explicit Draw(std::uint32_t seed) : engine_(seed) {}
    int between(int low, int high) { return std::uniform_int_distribution<int>(low, high)(engine_); }
    bool coin() { return between(0, 1) == 1; }
    template <typename T> T from(const std::vector<T>& pool) {
        return pool[static_cast<std::size_t>(between(0, static_cast<int>(pool.size()) - 1))];
    }

  private:
    std::mt19937 engine_;
};

const Uuid sharedId = *Uuid::parse("6F1C2A3B-4D5E-4F60-8A7B-9C0D1E2F3A4B");
// Collides with the id sanitizing derives for the first slot of the first wheel.
const Uuid derivedLookalike = *Uuid::parse("00000000-0000-4000-8000-000000000000");

Uuid anyId(Draw& draw) {
    switch (draw.between(0, 3)) {
    case 0:
        return Config::recoveredIdSentinel;
    case 1:
        return sharedId;
    case 2:
        return derivedLookalike;
    default:
        return Uuid::generate();
    }
}

const std::vector<std::string> wheelIds{"",        "a",       "apps",        "default",          "music",
                                        "wheel-4", "wheel-5", "placeholder", "recovered-wheel-1"};
const std::vector<std::string> labels{"", "Settings", "Volume Up", "Wi-Fi", "Shrug", "x"};
const std::vector<MacroAction> actions{MacroAction::Text{},
                                       MacroAction::Text{"hi"},
                                       MacroAction::OpenSettings{},
                                       MacroAction::App{},
                                       MacroAction::Url{"https://a.example"},
                                       MacroAction::Script{"osascript -e 'tell application \"Music\" to x'"}};
const std::vector<double> reals{-1e9,
                                -1,
                                0,
                                0.5,
                                1.5,
                                300,
                                1e9,
                                std::numeric_limits<double>::infinity(),
                                std::numeric_limits<double>::quiet_NaN()};
const std::vector<int> ints{std::numeric_limits<int>::min(), -5, 0, 120, 700,
                            std::numeric_limits<int>::max()};
const std::vector<int> keyCodes{-1, 0, 12, 55, 57, 58, 58, 127, 128, 300, 999, 1000, 1029, 1030};

Wheel anyWheel(Draw& draw) {
    Wheel wheel{draw.from(wheelIds), "W", draw.from(std::vector<int>{-3, 0, 3, 4, 8, 12, 13, 40}), {}, {}};
    for (int i = draw.between(0, 15); i > 0; --i)
        wheel.slices.push_back(
            Slice{anyId(draw), draw.between(-2, 14), draw.from(labels), Icon::None{}, draw.from(actions)});
    return wheel;
}

} // namespace

Config damagedConfig(std::uint32_t seed) {
    Draw draw(seed);
    Config config;
    config.version = draw.from(std::vector<int>{-1, 0, 1, 5, 11, 18, 19, 20});
    for (int i = draw.between(0, 6); i > 0; --i)
        config.wheels.push_back(anyWheel(draw));
    for (int i = draw.between(0, 4); i > 0; --i) {
        SummonBinding binding{anyId(draw), {}, draw.from(ints), draw.coin()};
        for (int k = draw.between(0, 6); k > 0; --k)
            binding.keyCodes.push_back(draw.from(keyCodes));
        config.bindings.push_back(binding);
    }
    auto& b = config.behavior;
    for (double* real : {&b.wheelSize, &b.opacity, &b.soundVolume, &b.accentStrength, &b.scrollSensitivity})
        *real = draw.from(reals);
    for (int* integer : {&b.closeFadeMs, &b.heldArrowDelayMs, &b.releaseGraceMs})
        *integer = draw.from(ints);
    config.lastUsedWheelId = draw.from(wheelIds);
    if (draw.coin()) config.exportedIcons = std::map<std::string, std::string>{{"a.png", "AAAA"}};
    return config;
}

::testing::AssertionResult keepsSanitizedPromises(const Config& config) {
    const auto fail = [](const std::string& what) { return ::testing::AssertionFailure() << what; };
    if (config.exportedIcons) return fail("exported icons kept");
    if (config.wheels.empty()) return fail("no wheel");
    std::set<std::string> wheelIdsSeen;
    std::set<Uuid> sliceIdsSeen;
    for (const auto& wheel : config.wheels) {
        if (wheel.id.empty() || !wheelIdsSeen.insert(wheel.id).second) return fail("wheel id " + wheel.id);
        if (wheel.sliceCount < 4 || wheel.sliceCount > 12) return fail("slot count of " + wheel.id);
        std::set<int> positions;
        for (const auto& slice : wheel.slices) {
            if (slice.position < 0 || slice.position >= wheel.sliceCount ||
                !positions.insert(slice.position).second)
                return fail("slot of a slice in " + wheel.id);
            if (slice.id == Config::recoveredIdSentinel || !sliceIdsSeen.insert(slice.id).second)
                return fail("slice id " + slice.id.text());
        }
    }
    std::set<Uuid> bindingIdsSeen;
    bool working = false;
    for (const auto& binding : config.bindings) {
        if (binding.id == Config::recoveredIdSentinel || !bindingIdsSeen.insert(binding.id).second)
            return fail("binding id " + binding.id.text());
        if (binding.holdThresholdMs < 0 || binding.holdThresholdMs > 500) return fail("hold threshold");
        std::set<int> codes;
        for (int code : binding.keyCodes) {
            const bool usable = (code >= 0 && code <= 127 && code != 57) || (code >= 1000 && code <= 1029);
            if (!usable || !codes.insert(code).second) return fail("key code " + std::to_string(code));
        }
        working = working || (binding.enabled && !binding.keyCodes.empty());
    }
    if (!working) return fail("no working binding");
    const auto& b = config.behavior;
    const bool inRange = b.opacity >= 0.2 && b.opacity <= 1 && b.accentStrength >= 0.2 &&
                         b.accentStrength <= 1 && b.wheelSize >= 240 && b.wheelSize <= 480 &&
                         b.closeFadeMs >= 80 && b.closeFadeMs <= 500 && b.scrollSensitivity >= 0.25 &&
                         b.scrollSensitivity <= 1.75 && b.heldArrowDelayMs >= 100 &&
                         b.heldArrowDelayMs <= 1000 && b.releaseGraceMs >= 50 && b.releaseGraceMs <= 1000 &&
                         b.soundVolume >= 0 && b.soundVolume <= 1;
    if (!inRange) return fail("behaviour number out of range");
    if (!wheelIdsSeen.contains(config.lastUsedWheelId))
        return fail("last used wheel " + config.lastUsedWheelId);
    return ::testing::AssertionSuccess();
}

} // namespace rondelix
