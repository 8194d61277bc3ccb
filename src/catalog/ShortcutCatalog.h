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
    // The name the program asked for before this one: an automation made or
    // installed under it still does the job.
    std::optional<std::string> formerShortcutName;

    // Whether an automation of that name is this one, under its name or its
    // former one, ignoring letter case.
    bool answersTo(std::string_view name) const;

    friend bool operator==(const ShortcutRequirement&, const ShortcutRequirement&) = default;
};

struct ShortcutCatalog {
    static const std::vector<ShortcutRequirement>& requirements();

    // The first requirement that answers to the name, ignoring letter case
    // only (no trimming).
    static std::optional<ShortcutRequirement> requirement(std::string_view forShortcutName);

    // The file names to run the automation of that name by, in turn: the
    // name itself, then the other name of a required automation renamed since.
    static std::vector<std::string> namesToRun(std::string_view shortcutName);
};

} // namespace rondelix
