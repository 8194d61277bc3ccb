#include "catalog/WheelActionTarget.h"

#include "catalog/MainTabFace.h"

namespace rondelix {

using S = WheelActionTarget::Section;
using Q = WheelActionTarget::QuickSetting;

namespace {

// A page target shows the page as the main window's sidebar does.
WheelActionTarget page(std::string id, MainTab tab) {
    const MainTabFace face = mainTabFace(tab);
    return {std::move(id), face.title, face.symbol, tab};
}

} // namespace

const std::vector<WheelActionTarget>& WheelActionTarget::all() {
    static const std::vector<WheelActionTarget> targets = {
        page("open-my-wheels", MainTab::wheels),
        page("open-gallery", MainTab::gallery),
        page("open-general", MainTab::general),
        page("open-bindings", MainTab::shortcuts),
        page("open-wheel-behavior", MainTab::wheelBehavior),
        page("open-appearance", MainTab::appearance),
        page("open-sound", MainTab::soundFeedback),
        page("open-about", MainTab::about),
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
