#pragma once

#include "model/Behavior.h"
#include "model/Icon.h"
#include "model/MacroAction.h"
#include "util/Uuid.h"

#include <array>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace rondelix {

// One way to summon a wheel: keys and buttons held together.
struct SummonBinding {
    Uuid id;
    std::vector<int> keyCodes;
    int holdThresholdMs = 100;
    bool enabled = true;

    friend bool operator==(const SummonBinding&, const SummonBinding&) = default;
};

struct General {
    bool launchAtLogin = false;
    friend bool operator==(const General&, const General&) = default;
};

// One slot's content.
struct Slice {
    Uuid id;
    int position = 0;
    std::string label;
    Icon icon;
    MacroAction action;

    friend bool operator==(const Slice&, const Slice&) = default;
};

struct Wheel {
    static constexpr std::array<int, 9> validSliceCounts{4, 5, 6, 7, 8, 9, 10, 11, 12};

    std::string id;
    std::string name = "Wheel";
    int sliceCount = 8;
    std::vector<Slice> slices;
    std::optional<std::string> appBundleIdentifier;

    friend bool operator==(const Wheel&, const Wheel&) = default;
};

// The whole persisted configuration.
struct Config {
    static constexpr int currentVersion = 19;
    // Stands in for a binding or slice id that was missing or unreadable.
    static constexpr Uuid recoveredIdSentinel{};

    int version = 1;
    std::vector<SummonBinding> bindings;
    Behavior behavior;
    General general;
    std::vector<Wheel> wheels;
    std::string lastUsedWheelId = "default";
    std::optional<std::map<std::string, std::string>> exportedIcons;

    friend bool operator==(const Config&, const Config&) = default;
};

// The wheels' ids, in order.
inline std::vector<std::string> wheelIds(const std::vector<Wheel>& wheels) {
    std::vector<std::string> ids;
    ids.reserve(wheels.size());
    for (const Wheel& wheel : wheels)
        ids.push_back(wheel.id);
    return ids;
}

// The same, shared by whoever draws them: a wheel drawn among a great many
// then costs no copy of all their ids.
using SharedWheelIds = std::shared_ptr<const std::vector<std::string>>;
inline SharedWheelIds sharedWheelIds(const std::vector<Wheel>& wheels) {
    return std::make_shared<const std::vector<std::string>>(wheelIds(wheels));
}

} // namespace rondelix
