#include "store/ConfigSanitizer.h"

#include "model/DefaultConfig.h"
#include "model/SummonKey.h"

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <string>
#include <unordered_set>

namespace rondelix {

namespace {

struct UuidHash {
    std::size_t operator()(const Uuid& id) const noexcept {
        std::uint64_t hash = 1469598103934665603ull;
        for (auto byte : id.bytes())
            hash = (hash ^ byte) * 1099511628211ull;
        return static_cast<std::size_t>(hash);
    }
};
using UuidSet = std::unordered_set<Uuid, UuidHash>;

enum class IdKind : unsigned { slice = 0x00, binding = 0x01 };

// Index and number each fill 20 bits of the derived id.
constexpr long long derivedFieldSpan = 1 << 20;

// Recovered ids are derived from where the record sits, so sanitizing the same
// file twice gives the same ids.
Uuid derivedId(IdKind kind, long long index, long long number) {
    const auto field = [](long long value) {
        return static_cast<unsigned>(std::max(value, 0LL) & (derivedFieldSpan - 1));
    };
    char text[37];
    std::snprintf(text, sizeof text, "00000000-0000-4000-8000-%02X%05X%05X", static_cast<unsigned>(kind),
                  field(index), field(number));
    return *Uuid::parse(text);
}

// The first derived id for (kind, index, number), number + 1, ... not yet in
// `seen`. The number field has only 2^20 values, so a list that exhausts
// them (only a hostile file can) falls back to random ids instead of looping.
Uuid firstFreeDerivedId(IdKind kind, long long index, long long number, const UuidSet& seen) {
    const long long start = std::max(number, 0LL);
    for (long long n = start; n < start + derivedFieldSpan; ++n) {
        const Uuid id = derivedId(kind, index, n);
        if (!seen.contains(id)) return id;
    }
    Uuid id = Uuid::generate();
    while (seen.contains(id))
        id = Uuid::generate();
    return id;
}

bool isValidSliceCount(int count) {
    return std::ranges::find(Wheel::validSliceCounts, count) != Wheel::validSliceCounts.end();
}

bool isMouseButtonCode(int code) {
    return code >= 1000 && code <= 1029;
}

// A recovered id that another wheel already carries would make the clean-up
// of repeated ids drop that later wheel, slices and all; such a clash takes a
// numbered suffix instead.
void giveWheelsIds(std::vector<Wheel>& wheels) {
    std::unordered_set<std::string> taken;
    for (const auto& wheel : wheels)
        if (!wheel.id.empty()) taken.insert(wheel.id);
    for (std::size_t w = 0; w < wheels.size(); ++w) {
        if (!wheels[w].id.empty()) continue;
        const std::string base = "recovered-wheel-" + std::to_string(w);
        std::string id = base;
        for (int suffix = 1; taken.contains(id); ++suffix)
            id = base + "-" + std::to_string(suffix);
        taken.insert(id);
        wheels[w].id = id;
    }
}

void recoverSliceIds(std::vector<Wheel>& wheels) {
    for (std::size_t w = 0; w < wheels.size(); ++w)
        for (auto& slice : wheels[w].slices)
            if (slice.id == Config::recoveredIdSentinel)
                slice.id = derivedId(IdKind::slice, static_cast<long long>(w), slice.position);
}

void recoverBindingIds(std::vector<SummonBinding>& bindings) {
    for (std::size_t b = 0; b < bindings.size(); ++b)
        if (bindings[b].id == Config::recoveredIdSentinel)
            bindings[b].id = derivedId(IdKind::binding, static_cast<long long>(b), 0);
}

void makeBindingIdsUnique(std::vector<SummonBinding>& bindings) {
    UuidSet seen;
    for (std::size_t b = 0; b < bindings.size(); ++b) {
        auto& binding = bindings[b];
        if (seen.contains(binding.id))
            binding.id = firstFreeDerivedId(IdKind::binding, static_cast<long long>(b), 0, seen);
        seen.insert(binding.id);
    }
}

void dropRepeatedWheels(std::vector<Wheel>& wheels) {
    std::unordered_set<std::string> seen;
    std::erase_if(wheels, [&](const Wheel& wheel) { return !seen.insert(wheel.id).second; });
}

void fitSlicesToSlots(Wheel& wheel) {
    if (!isValidSliceCount(wheel.sliceCount)) wheel.sliceCount = 8;
    std::erase_if(wheel.slices, [&](const Slice& slice) {
        return slice.position < 0 || slice.position >= wheel.sliceCount;
    });
    std::unordered_set<int> taken;
    std::erase_if(wheel.slices, [&](const Slice& slice) { return !taken.insert(slice.position).second; });
}

void makeSliceIdsUnique(std::vector<Wheel>& wheels) {
    UuidSet seen;
    for (std::size_t w = 0; w < wheels.size(); ++w) {
        for (auto& slice : wheels[w].slices) {
            if (seen.contains(slice.id))
                slice.id = firstFreeDerivedId(IdKind::slice, static_cast<long long>(w), slice.position, seen);
            seen.insert(slice.id);
        }
    }
}

// Caps Lock and codes no key or button has become the left Option key.
std::vector<int> usableKeyCodes(const std::vector<int>& codes) {
    std::vector<int> usable;
    for (int code : codes) {
        if (code < 0) continue;
        const int mapped = (code == 57 || (code >= 128 && !isMouseButtonCode(code))) ? 58 : code;
        if (std::ranges::find(usable, mapped) == usable.end()) usable.push_back(mapped);
    }
    return usable;
}

void repairBindings(std::vector<SummonBinding>& bindings) {
    for (auto& binding : bindings) {
        binding.holdThresholdMs = std::clamp(binding.holdThresholdMs, 0, 500);
        binding.keyCodes = usableKeyCodes(binding.keyCodes);
    }
}

// A binding of more keys than can be held at once works no more than one
// without keys: neither keeps the wheel within reach.
void ensureWorkingBinding(std::vector<SummonBinding>& bindings) {
    const auto canSummon = [](const SummonBinding& binding) {
        return SummonKey::canSummonWith(binding.keyCodes);
    };
    const auto firstThatCan = std::ranges::find_if(bindings, canSummon);
    if (firstThatCan == bindings.end()) {
        bindings.push_back(SummonBinding{Uuid::generate(), {58, 55}, 100, true});
        return;
    }
    const bool anyWorking =
        std::ranges::any_of(bindings, [&](const SummonBinding& b) { return b.enabled && canSummon(b); });
    if (!anyWorking) firstThatCan->enabled = true;
}

// A value at or below the lowest (or not a number at all) becomes the lowest.
void clampReal(double& value, double lowest, double highest) {
    if (!(value > lowest))
        value = lowest;
    else if (value > highest)
        value = highest;
}

void clampBehavior(Behavior& behavior) {
    clampReal(behavior.opacity, 0.2, 1.0);
    clampReal(behavior.accentStrength, 0.2, 1.0);
    clampReal(behavior.wheelSize, 240, 480);
    behavior.closeFadeMs = std::clamp(behavior.closeFadeMs, 80, 500);
    clampReal(behavior.scrollSensitivity, 0.25, 1.75);
    behavior.heldArrowDelayMs = std::clamp(behavior.heldArrowDelayMs, 100, 1000);
    behavior.releaseGraceMs = std::clamp(behavior.releaseGraceMs, 50, 1000);
    clampReal(behavior.soundVolume, 0.0, 1.0);
}

void pointLastUsedAtAWheel(Config& config) {
    const bool exists = std::ranges::any_of(
        config.wheels, [&](const Wheel& wheel) { return wheel.id == config.lastUsedWheelId; });
    if (!exists) config.lastUsedWheelId = config.wheels.empty() ? "default" : config.wheels.front().id;
}

} // namespace

bool sanitizeAfterWheelEdit(Config& config, std::size_t index, const Wheel& before) {
    const Wheel& edited = config.wheels.at(index);
    const auto sliceId = [](const Slice& slice) { return slice.id; };
    if (edited.id != before.id || !std::ranges::equal(edited.slices, before.slices, {}, sliceId, sliceId)) {
        sanitize(config);
        return false;
    }
    config.exportedIcons.reset();
    fitSlicesToSlots(config.wheels[index]);
    return true;
}

void sanitize(Config& config) {
    config.exportedIcons.reset();
    if (config.wheels.empty()) config.wheels = DefaultConfig::factoryWheels();
    giveWheelsIds(config.wheels);
    recoverSliceIds(config.wheels);
    recoverBindingIds(config.bindings);
    makeBindingIdsUnique(config.bindings);
    dropRepeatedWheels(config.wheels);
    for (auto& wheel : config.wheels)
        fitSlicesToSlots(wheel);
    makeSliceIdsUnique(config.wheels);
    repairBindings(config.bindings);
    ensureWorkingBinding(config.bindings);
    clampBehavior(config.behavior);
    pointLastUsedAtAWheel(config);
}

} // namespace rondelix
