#pragma once

#include <array>
#include <functional>
#include <nlohmann/json_fwd.hpp>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace rondelix {

// Why a system action does nothing on this desktop; nothing when it works
// here. The routes that run the actions answer it, above the catalogue.
using SystemActionUnavailable = std::function<std::optional<std::string>(const std::string& systemActionId)>;

// One of the built-in system actions a slice can fire. A slice stores only
// the id; this catalogue names and groups it for menus and reviews.
struct SystemAction {
    enum class Category {
        displayAppearance,
        soundMedia,
        connectivity,
        desktopFinder,
        dock,
        windowsSpaces,
        captureInput,
        system
    };

    std::string id;
    std::string displayName;
    std::string symbol;
    Category category = Category::system;

    friend bool operator==(const SystemAction&, const SystemAction&) = default;

    static const std::vector<SystemAction>& all();
    // Exact, case-sensitive match on the id.
    static std::optional<SystemAction> find(std::string_view id);

    static const std::array<Category, 8>& allCategories();
    static std::string_view rawValue(Category category);
    static std::optional<Category> categoryFromRaw(std::string_view raw);

    // All four keys are required; a missing or mistyped one gives none.
    static std::optional<SystemAction> decode(const nlohmann::json& json);
    nlohmann::json encode() const;
};

} // namespace rondelix
