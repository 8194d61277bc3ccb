#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace rondelix {

// A system action that is performed by running a named automation, with what
// the setup window shows to help the user build it.
struct ShortcutRequirement {
    std::string id;
    std::string shortcutName;
    std::string title;
    std::string symbol;
    std::string summary;
    std::vector<std::string> buildSteps;
    std::optional<std::string> iCloudURL;

    friend bool operator==(const ShortcutRequirement&, const ShortcutRequirement&) = default;
};

struct ShortcutCatalog {
    static const std::vector<ShortcutRequirement>& requirements();

    // The first requirement whose Shortcut name matches, ignoring letter case
    // only (no trimming).
    static std::optional<ShortcutRequirement> requirement(std::string_view forShortcutName);
};

} // namespace rondelix
