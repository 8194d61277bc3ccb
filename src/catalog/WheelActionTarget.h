#pragma once

#include "catalog/MainTab.h"

#include <array>
#include <optional>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

namespace rondelix {

// A page of the program's main window or one of its quick settings that a
// slice can target; the coordinator carries it out.
struct WheelActionTarget {
    enum class Section { page, quickSetting };
    enum class QuickSetting { pauseSummon, toggleLiquidGlass, toggleSound, toggleDetectApp, checkForUpdates };

    std::string id;
    std::string displayName;
    std::string symbol;
    std::variant<MainTab, QuickSetting> opens;

    Section section() const {
        return std::holds_alternative<MainTab>(opens) ? Section::page : Section::quickSetting;
    }

    friend bool operator==(const WheelActionTarget&, const WheelActionTarget&) = default;

    static const std::vector<WheelActionTarget>& all();
    // Exact, case-sensitive match; none for an absent id.
    static std::optional<WheelActionTarget> find(const std::optional<std::string>& id);

    static const std::array<Section, 2>& allSections();
    static std::string_view rawValue(Section section);
    static std::optional<Section> sectionFromRaw(std::string_view raw);
};

} // namespace rondelix
