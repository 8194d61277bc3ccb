#include "store/ConfigMigration.h"

#include "model/DefaultConfig.h"
#include "store/ConfigSanitizer.h"

#include <algorithm>
#include <functional>
#include <set>
#include <span>
#include <string_view>
#include <unordered_set>
#include <utility>

namespace rondelix {

namespace {

// Main wheels of versions 12 and 13 linked to the product's own site.
constexpr std::string_view productSiteLabel = "rondelix.app";

Wheel* findWheel(Config& config, std::string_view id) {
    const auto it = std::ranges::find_if(config.wheels, [&](const Wheel& wheel) { return wheel.id == id; });
    return it == config.wheels.end() ? nullptr : &*it;
}

Slice* firstSliceAt(Wheel& wheel, int position) {
    const auto it =
        std::ranges::find_if(wheel.slices, [&](const Slice& slice) { return slice.position == position; });
    return it == wheel.slices.end() ? nullptr : &*it;
}

bool isNoTargetSettings(const MacroAction& action) {
    const auto* settings = action.as<MacroAction::OpenSettings>();
    return settings && !settings->target;
}

bool isEmptyText(const MacroAction& action) {
    const auto* text = action.as<MacroAction::Text>();
    return text && text->text.empty();
}

// An empty factory placeholder becomes a factory wheel. When a wheel of the
// user's own, holding slices, already carries the new id, the placeholder goes
// instead: otherwise the clean-up of repeated ids could keep the factory copy
// and drop the user's wheel if the placeholder stood first.
void fillPlaceholder(Config& config, std::string_view placeholderId, std::string_view factoryId,
                     Wheel (*factory)()) {
    const auto placeholder =
        std::ranges::find_if(config.wheels, [&](const Wheel& wheel) { return wheel.id == placeholderId; });
    if (placeholder == config.wheels.end() || !placeholder->slices.empty()) return;
    const bool userWheelHoldsId = std::ranges::any_of(
        config.wheels, [&](const Wheel& wheel) { return wheel.id == factoryId && !wheel.slices.empty(); });
    if (userWheelHoldsId)
        config.wheels.erase(placeholder);
    else
        *placeholder = factory();
}

using Relabelling = std::span<const std::pair<std::string_view, std::string_view>>;

void relabel(Wheel& wheel, Relabelling table, const std::function<bool(const Slice&)>& applies) {
    for (auto& slice : wheel.slices) {
        const auto row = std::ranges::find(table, std::string_view(slice.label),
                                           &std::pair<std::string_view, std::string_view>::first);
        if (row != table.end() && applies(slice)) slice.label = std::string(row->second);
    }
}

struct PatternRow {
    int position;
    std::string_view label;
    std::function<bool(const MacroAction&)> matches;
};

bool anyAction(const MacroAction&) {
    return true;
}

// A main wheel an earlier version shipped, recognised by its slice count and
// a few telling slices; icons and ids never count.
bool matchesPattern(const Wheel& wheel, std::size_t sliceCount, const std::vector<PatternRow>& rows) {
    if (wheel.slices.size() != sliceCount) return false;
    return std::ranges::all_of(rows, [&](const PatternRow& row) {
        return std::ranges::any_of(wheel.slices, [&](const Slice& slice) {
            return slice.position == row.position && slice.label == row.label && row.matches(slice.action);
        });
    });
}

void replaceMainWheelIf(Config& config, std::size_t sliceCount, const std::vector<PatternRow>& rows) {
    Wheel* main = findWheel(config, "default");
    if (!main || !matchesPattern(*main, sliceCount, rows)) return;
    Wheel fresh = DefaultConfig::mainWheel();
    fresh.name = std::move(main->name);
    fresh.appBundleIdentifier = std::move(main->appBundleIdentifier);
    *main = std::move(fresh);
}

std::set<int> keySet(const SummonBinding& binding) {
    return {binding.keyCodes.begin(), binding.keyCodes.end()};
}

void addSettingsSlice(Config& config) {
    Wheel* main = findWheel(config, "default");
    if (!main || firstSliceAt(*main, 0)) return;
    main->slices.push_back(Slice{Uuid::generate(), 0, "Settings", Icon::SfSymbol{"gearshape.fill"},
                                 MacroAction::OpenSettings{}});
}

void renameMainAndAddWheels(Config& config) {
    if (Wheel* main = findWheel(config, "default"); main && main->name == "Default") main->name = "Main";
    std::unordered_set<std::string> present;
    for (const auto& wheel : config.wheels)
        present.insert(wheel.id);
    for (auto& wheel : DefaultConfig::addedWheels())
        if (!present.contains(wheel.id)) config.wheels.push_back(std::move(wheel));
}

void completeMusicWheel(Config& config) {
    Wheel* music = findWheel(config, "music");
    if (!music) return;
    std::unordered_set<int> noted;
    for (const auto& slice : music->slices)
        noted.insert(slice.position);
    for (auto& slice : DefaultConfig::musicWheel().slices)
        if (!noted.contains(slice.position)) music->slices.push_back(std::move(slice));
}

void dropUnusableBindings(Config& config) {
    std::erase_if(config.bindings, [](const SummonBinding& binding) {
        return binding.keyCodes.empty() || std::ranges::any_of(binding.keyCodes, [](int c) { return c < 0; });
    });
    if (config.bindings.empty()) config.bindings.push_back(SummonBinding{Uuid::generate(), {58}, 100, true});
}

void settingsSliceOpensSettings(Config& config) {
    Wheel* main = findWheel(config, "default");
    Slice* slice = main ? firstSliceAt(*main, 0) : nullptr;
    if (!slice || slice->label != "Settings" || !isEmptyText(slice->action)) return;
    slice->action = MacroAction::OpenSettings{};
    if (slice->icon.is<Icon::None>()) slice->icon = Icon::SfSymbol{"gearshape.fill"};
}

void relabelControlCenter(Config& config) {
    static constexpr std::pair<std::string_view, std::string_view> table[] = {
        {"Wi-Fi", "Toggle Wi-Fi"},
        {"Bluetooth", "Toggle Bluetooth"},
        {"Focus", "Toggle Do Not Disturb"},
        {"Dark Mode", "Toggle Dark Mode"},
    };
    if (Wheel* wheel = findWheel(config, "control-center"))
        relabel(*wheel, table, [](const Slice&) { return true; });
}

void renameSettingsSlice(Config& config) {
    Wheel* main = findWheel(config, "default");
    Slice* slice = main ? firstSliceAt(*main, 0) : nullptr;
    if (slice && slice->label == "Settings" && slice->action.is<MacroAction::OpenSettings>())
        slice->label = "Wheel Settings";
}

void fillEssentials(Config& config) {
    Wheel* wheel = findWheel(config, "wheel-5");
    if (wheel && wheel->slices.empty()) *wheel = DefaultConfig::essentialsWheel();
}

void replaceMainWheelOfVersion11(Config& config) {
    replaceMainWheelIf(
        config, 4,
        {
            {0, "Wheel Settings", isNoTargetSettings},
            {2, "Toggle Dark Mode",
             [](const MacroAction& a) {
                 return a == MacroAction(MacroAction::SystemAction{"toggle-dark-mode"});
             }},
            {4, "Shrug", [](const MacroAction& a) { return a.is<MacroAction::Text>(); }},
            {6, "Calculator",
             [](const MacroAction& a) {
                 return a == MacroAction(MacroAction::App{"com.apple.calculator", std::nullopt});
             }},
        });
}

void replaceMainWheelOfVersion12(Config& config) {
    replaceMainWheelIf(
        config, 7,
        {
            {2, productSiteLabel, [](const MacroAction& a) { return a.is<MacroAction::Url>(); }},
            {4, "Shrug", [](const MacroAction& a) { return a.is<MacroAction::Text>(); }},
            {6, "Spotlight", anyAction},
        });
}

void replaceMainWheelOfVersion13(Config& config) {
    replaceMainWheelIf(
        config, 7,
        {
            {2, DefaultConfig::makerSiteLabel,
             [](const MacroAction& a) {
                 return a == MacroAction(MacroAction::Url{std::string(DefaultConfig::makerSiteUrl)});
             }},
            {3, "Toggle Light/Dark Mode",
             [](const MacroAction& a) {
                 return a == MacroAction(MacroAction::SystemAction{"toggle-dark-mode"});
             }},
            {6, "Emoji Picker",
             [](const MacroAction& a) {
                 return a == MacroAction(MacroAction::Keystroke{KeyCombo{49, true, false, false, true}});
             }},
        });
}

void reopenLastWheel(Config& config) {
    config.behavior.reopenLastWheel = true;
}

void automaticIcons(Config& config) {
    for (auto& wheel : config.wheels)
        for (auto& slice : wheel.slices) {
            const auto& action = slice.action;
            const bool derivable = action.is<MacroAction::App>() || action.is<MacroAction::Url>() ||
                                   action.is<MacroAction::OpenSettings>();
            if (derivable && slice.icon.is<Icon::None>()) slice.icon = Icon::Auto{};
        }
}

void relabelMusicVolume(Config& config) {
    static constexpr std::pair<std::string_view, std::string_view> table[] = {
        {"Volume Up", "Music\nVolume Up"},
        {"Volume Down", "Music\nVolume Down"},
    };
    Wheel* music = findWheel(config, "music");
    if (!music) return;
    relabel(*music, table, [](const Slice& slice) {
        const auto* script = slice.action.as<MacroAction::Script>();
        return script && script->source.find("tell application \"Music\"") != std::string::npos;
    });
}

void addFactoryBindings(Config& config) {
    std::vector<std::set<int>> noted;
    for (const auto& binding : config.bindings)
        noted.push_back(keySet(binding));
    for (auto& binding : DefaultConfig::defaultBindings()) {
        if (std::ranges::find(noted, keySet(binding)) != noted.end()) continue;
        binding.enabled = false;
        config.bindings.push_back(std::move(binding));
    }
    const auto option = std::ranges::find_if(
        config.bindings, [](const SummonBinding& binding) { return keySet(binding) == std::set<int>{58}; });
    if (option != config.bindings.end() && option->holdThresholdMs == 120) option->holdThresholdMs = 100;
}

std::vector<Slice> byPosition(std::vector<Slice> slices) {
    std::ranges::stable_sort(slices, {}, &Slice::position);
    return slices;
}

void refreshUneditedMusicWheel(Config& config) {
    Wheel* music = findWheel(config, "music");
    if (!music) return;
    const auto stored = byPosition(music->slices);
    const auto factory = byPosition(DefaultConfig::legacyMusicWheelV18().slices);
    const bool unedited = std::ranges::equal(stored, factory, [](const Slice& a, const Slice& b) {
        return a.position == b.position && a.label == b.label && a.action == b.action;
    });
    if (unedited) *music = DefaultConfig::musicWheel();
}

void fillAppsPlaceholder(Config& config) {
    fillPlaceholder(config, "placeholder", "apps", DefaultConfig::appsWheel);
}

void fillControlCenterPlaceholder(Config& config) {
    fillPlaceholder(config, "wheel-4", "control-center", DefaultConfig::controlCenterWheel);
}

// Each step brings a configuration up to the version in its comment.
constexpr void (*upgradeSteps[])(Config&) = {
    addSettingsSlice,             // 2
    renameMainAndAddWheels,       // 3
    fillAppsPlaceholder,          // 4
    completeMusicWheel,           // 5
    dropUnusableBindings,         // 6
    settingsSliceOpensSettings,   // 7
    fillControlCenterPlaceholder, // 8
    relabelControlCenter,         // 9
    renameSettingsSlice,          // 10
    fillEssentials,               // 11
    replaceMainWheelOfVersion11,  // 12
    replaceMainWheelOfVersion12,  // 13
    replaceMainWheelOfVersion13,  // 14
    reopenLastWheel,              // 15
    automaticIcons,               // 16
    relabelMusicVolume,           // 17
    addFactoryBindings,           // 18
    refreshUneditedMusicWheel,    // 19
};
static_assert(std::size(upgradeSteps) == Config::currentVersion - 1);

} // namespace

void applyMigrationStep(int step, Config& config) {
    if (step >= 2 && step <= Config::currentVersion) upgradeSteps[step - 2](config);
}

bool migrateIfNeeded(Config& config) {
    const int stored = config.version;
    if (stored >= Config::currentVersion) return false;
    for (int step = 2; step <= Config::currentVersion; ++step)
        if (stored < step) applyMigrationStep(step, config);
    config.version = Config::currentVersion;
    sanitize(config);
    return true;
}

} // namespace rondelix
