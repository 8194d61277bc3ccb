#pragma once

#include <array>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace rondelix {

// A page of the program's main window or one of its quick settings that a
// slice can target; the coordinator carries it out.
struct WheelActionTarget {
    enum class Section { page, quickSetting };

    std::string id;
    std::string displayName;
    std::string symbol;
    Section section = Section::page;

    friend bool operator==(const WheelActionTarget&, const WheelActionTarget&) = default;

    static const std::vector<WheelActionTarget>& all();
    // Exact, case-sensitive match; none for an absent id.
    static std::optional<WheelActionTarget> find(const std::optional<std::string>& id);

    static const std::array<Section, 2>& allSections();
    static std::string_view rawValue(Section section);
    static std::optional<Section> sectionFromRaw(std::string_view raw);
};

} // namespace rondelix
