#include "catalog/WheelActionTarget.h"

namespace rondelix {

using S = WheelActionTarget::Section;

const std::vector<WheelActionTarget>& WheelActionTarget::all() {
    static const std::vector<WheelActionTarget> targets = {
        {"open-my-wheels", "My Wheels", "square.grid.2x2", S::page},
        {"open-gallery", "Wheel Gallery", "square.grid.3x3", S::page},
        {"open-general", "General", "gearshape", S::page},
        {"open-bindings", "Bindings", "keyboard", S::page},
        {"open-wheel-behavior", "Wheel Behavior", "slider.horizontal.3", S::page},
        {"open-appearance", "Appearance", "paintbrush", S::page},
        {"open-sound", "Sound & Feedback", "speaker.wave.2", S::page},
        {"open-about", "About", "info.circle", S::page},
        {"pause-summon", "Pause / Resume Summon", "pause.circle", S::quickSetting},
        {"toggle-liquid-glass", "Toggle Liquid Glass", "circle.hexagongrid", S::quickSetting},
        {"toggle-sound", "Toggle Sound Effects", "speaker.wave.2", S::quickSetting},
        {"toggle-detect-app", "Toggle Detect App", "app.badge", S::quickSetting},
        {"check-for-updates", "Check for Updates", "arrow.triangle.2.circlepath", S::quickSetting},
    };
    return targets;
}

std::optional<WheelActionTarget> WheelActionTarget::find(const std::optional<std::string>& id) {
    if (!id) return std::nullopt;
    for (const auto& target : all())
        if (target.id == *id) return target;
    return std::nullopt;
}

const std::array<S, 2>& WheelActionTarget::allSections() {
    static const std::array<S, 2> sections = {S::page, S::quickSetting};
    return sections;
}

std::string_view WheelActionTarget::rawValue(Section section) {
    return section == S::page ? "Open a Page" : "Quick Settings";
}

std::optional<S> WheelActionTarget::sectionFromRaw(std::string_view raw) {
    for (const auto section : allSections())
        if (rawValue(section) == raw) return section;
    return std::nullopt;
}

} // namespace rondelix
