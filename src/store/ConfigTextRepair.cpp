#include "store/ConfigTextRepair.h"

#include "util/Utf8.h"

#include <variant>

namespace rondelix {

namespace {

void repair(std::string& text) {
    utf8::repair(text);
}

void repair(std::optional<std::string>& text) {
    if (text) utf8::repair(*text);
}

// One overload per case and no catch-all: a new kind of action or icon that
// carries text does not compile until it is repaired here too.
struct ActionText {
    void operator()(MacroAction::Text& a) const { repair(a.text); }
    void operator()(MacroAction::App& a) const {
        repair(a.bundleIdentifier);
        repair(a.path);
    }
    void operator()(MacroAction::Url& a) const { repair(a.url); }
    void operator()(MacroAction::SystemAction& a) const { repair(a.id); }
    void operator()(MacroAction::Script& a) const { repair(a.source); }
    void operator()(MacroAction::Shortcut& a) const { repair(a.name); }
    void operator()(MacroAction::OpenSettings& a) const { repair(a.target); }
    void operator()(MacroAction::Keystroke&) const {}
    // Carried as the parser read it, which was valid UTF-8.
    void operator()(MacroAction::Unknown&) const {}
};

struct IconText {
    void operator()(Icon::Auto&) const {}
    void operator()(Icon::None&) const {}
    void operator()(Icon::SfSymbol& i) const { repair(i.name); }
    void operator()(Icon::Emoji& i) const { repair(i.text); }
    void operator()(Icon::CustomImage& i) const { repair(i.filename); }
};

} // namespace

void repairText(Wheel& wheel) {
    repair(wheel.id);
    repair(wheel.name);
    repair(wheel.appBundleIdentifier);
    for (Slice& slice : wheel.slices) {
        repair(slice.label);
        std::visit(IconText{}, slice.icon.value);
        std::visit(ActionText{}, slice.action.value);
    }
}

void repairText(std::vector<Wheel>& wheels) {
    for (Wheel& wheel : wheels)
        repairText(wheel);
}

void repairText(Config& config) {
    repairText(config.wheels);
    repair(config.lastUsedWheelId);
    repair(config.behavior.aimSoundName);
    repair(config.behavior.fireSoundName);
    repair(config.behavior.accentHex);
    if (!config.exportedIcons) return;
    bool keysChange = false;
    for (auto& [name, data] : *config.exportedIcons) {
        repair(data);
        std::string key = name;
        keysChange = utf8::repair(key) || keysChange;
    }
    if (!keysChange) return;
    // Two names that repair alike keep the first one's data.
    std::map<std::string, std::string> icons;
    for (auto& [name, data] : *config.exportedIcons) {
        std::string key = name;
        repair(key);
        icons.emplace(std::move(key), std::move(data));
    }
    config.exportedIcons = std::move(icons);
}

} // namespace rondelix
