#include "catalog/WheelActionTarget.h"

namespace rondelix {

using S = WheelActionTarget::Section;
using Q = WheelActionTarget::QuickSetting;

const std::vector<WheelActionTarget>& WheelActionTarget::all() {
    static const std::vector<WheelActionTarget> targets = {
        {"open-my-wheels", "My Wheels", "square.grid.2x2", MainTab::wheels},
        {"open-gallery", "Wheel Gallery", "square.grid.3x3", MainTab::gallery},
        {"open-general", "General", "gearshape", MainTab::general},
        {"open-bindings", "Bindings", "keyboard", MainTab::shortcuts},
        {"open-wheel-behavior", "Wheel Behavior", "slider.horizontal.3", MainTab::wheelBehavior},
        {"open-appearance", "Appearance", "paintbrush", MainTab::appearance},
        {"open-sound", "Sound & Feedback", "speaker.wave.2", MainTab::soundFeedback},
        {"open-about", "About", "info.circle", MainTab::about},
        {"pause-summon", "Pause / Resume Summon", "pause.circle", Q::pauseSummon},
        {"toggle-liquid-glass", "Toggle Frosted Glass", "circle.hexagongrid", Q::toggleLiquidGlass},
        {"toggle-sound", "Toggle Sound Effects", "speaker.wave.2", Q::toggleSound},
        {"toggle-detect-app", "Toggle Detect App", "app.badge", Q::toggleDetectApp},
        {"check-for-updates", "Check for Updates", "arrow.triangle.2.circlepath", Q::checkForUpdates},
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
