#include "support/TreeEncoder.h"

#include "util/Overloaded.h"

#include <variant>

namespace rondelix::testing {

using nlohmann::json;

namespace {

std::string_view caseName(const Icon::Auto&) {
    return "auto";
}
std::string_view caseName(const Icon::None&) {
    return "none";
}
std::string_view caseName(const Icon::SfSymbol&) {
    return "sfSymbol";
}
std::string_view caseName(const Icon::Emoji&) {
    return "emoji";
}
std::string_view caseName(const Icon::CustomImage&) {
    return "customImage";
}
std::string_view caseName(const MacroAction::Text&) {
    return "text";
}
std::string_view caseName(const MacroAction::App&) {
    return "app";
}
std::string_view caseName(const MacroAction::Url&) {
    return "url";
}
std::string_view caseName(const MacroAction::SystemAction&) {
    return "systemAction";
}
std::string_view caseName(const MacroAction::Script&) {
    return "script";
}
std::string_view caseName(const MacroAction::Shortcut&) {
    return "shortcut";
}
std::string_view caseName(const MacroAction::OpenSettings&) {
    return "openSettings";
}
std::string_view caseName(const MacroAction::Keystroke&) {
    return "keystroke";
}

} // namespace

json encode(const KeyCombo& combo) {
    json form = {{"keyCode", combo.keyCode},
                 {"command", combo.primary},
                 {"shift", combo.shift},
                 {"option", combo.alt},
                 {"control", combo.control}};
    if (combo.super) form["super"] = true;
    return form;
}

json encode(const Icon& icon) {
    struct Inner {
        json operator()(const Icon::Auto&) const { return json::object(); }
        json operator()(const Icon::None&) const { return json::object(); }
        json operator()(const Icon::SfSymbol& s) const { return {{"_0", s.name}}; }
        json operator()(const Icon::Emoji& e) const { return {{"_0", e.text}}; }
        json operator()(const Icon::CustomImage& c) const { return {{"filename", c.filename}}; }
    };
    return std::visit([](const auto& c) { return json{{std::string(caseName(c)), Inner{}(c)}}; }, icon.value);
}

json encode(const MacroAction& action) {
    struct Inner {
        json operator()(const MacroAction::Text& t) const { return {{"_0", t.text}}; }
        json operator()(const MacroAction::App& a) const {
            json inner = json::object();
            if (a.bundleIdentifier) inner["bundleIdentifier"] = *a.bundleIdentifier;
            if (a.path) inner["path"] = *a.path;
            return inner;
        }
        json operator()(const MacroAction::Url& u) const { return {{"_0", u.url}}; }
        json operator()(const MacroAction::SystemAction& s) const { return {{"_0", s.id}}; }
        json operator()(const MacroAction::Script& s) const { return {{"_0", s.source}}; }
        json operator()(const MacroAction::Shortcut& s) const { return {{"name", s.name}}; }
        json operator()(const MacroAction::OpenSettings& o) const {
            json inner = json::object();
            if (o.target) inner["target"] = *o.target;
            return inner;
        }
        json operator()(const MacroAction::Keystroke& k) const { return {{"_0", encode(k.combo)}}; }
    };
    return std::visit(Overloaded{[](const MacroAction::Unknown& u) { return json::parse(u.json); },
                                 [](const auto& c) {
                                     return json{{std::string(caseName(c)), Inner{}(c)}};
                                 }},
                      action.value);
}

json encode(const Slice& slice) {
    return {{"id", slice.id.text()},
            {"position", slice.position},
            {"label", slice.label},
            {"icon", encode(slice.icon)},
            {"action", encode(slice.action)}};
}

json encode(const Wheel& wheel) {
    json slices = json::array();
    for (const auto& slice : wheel.slices)
        slices.push_back(encode(slice));
    json out = {{"id", wheel.id},
                {"name", wheel.name},
                {"sliceCount", wheel.sliceCount},
                {"slices", std::move(slices)}};
    if (wheel.appBundleIdentifier) out["appBundleIdentifier"] = *wheel.appBundleIdentifier;
    return out;
}

json encode(const SummonBinding& binding) {
    return {{"id", binding.id.text()},
            {"keyCodes", binding.keyCodes},
            {"holdThresholdMs", binding.holdThresholdMs},
            {"enabled", binding.enabled}};
}

json encode(const General& general) {
    return {{"launchAtLogin", general.launchAtLogin}};
}

json encode(const Behavior& b) {
    return {{"wheelSize", b.wheelSize},
            {"position", toString(b.position)},
            {"emptySliceOpensEditor", b.emptySliceOpensEditor},
            {"stickyAim", b.stickyAim},
            {"closeFadeEnabled", b.closeFadeEnabled},
            {"closeFadeMs", b.closeFadeMs},
            {"opacity", b.opacity},
            {"soundEnabled", b.soundEnabled},
            {"soundVolume", b.soundVolume},
            {"aimSoundName", b.aimSoundName},
            {"fireSoundName", b.fireSoundName},
            {"hapticsEnabled", b.hapticsEnabled},
            {"liquidGlassEnabled", b.liquidGlassEnabled},
            {"accentHex", b.accentHex},
            {"accentStrength", b.accentStrength},
            {"reopenLastWheel", b.reopenLastWheel},
            {"tabCyclesWheels", b.tabCyclesWheels},
            {"numpadDirectSlice", b.numpadDirectSlice},
            {"shiftTapCyclesBackward", b.shiftTapCyclesBackward},
            {"scrollSensitivity", b.scrollSensitivity},
            {"invertScroll", b.invertScroll},
            {"detectApp", b.detectApp},
            {"heldArrowMode", toString(b.heldArrowMode)},
            {"heldArrowDelayMs", b.heldArrowDelayMs},
            {"releaseGraceEnabled", b.releaseGraceEnabled},
            {"releaseGraceMs", b.releaseGraceMs}};
}

json encode(const Config& config) {
    json bindings = json::array();
    for (const auto& binding : config.bindings)
        bindings.push_back(encode(binding));
    json wheels = json::array();
    for (const auto& wheel : config.wheels)
        wheels.push_back(encode(wheel));
    json out = {{"version", config.version},           {"bindings", std::move(bindings)},
                {"behavior", encode(config.behavior)}, {"general", encode(config.general)},
                {"wheels", std::move(wheels)},         {"lastUsedWheelId", config.lastUsedWheelId}};
    if (config.exportedIcons) out["exportedIcons"] = *config.exportedIcons;
    return out;
}

std::string referenceFileBytes(const Config& config) {
    return encode(config).dump(2, ' ', false, json::error_handler_t::replace) + "\n";
}

} // namespace rondelix::testing
