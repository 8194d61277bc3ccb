#include "catalog/ShortcutCatalog.h"

#include "util/Ascii.h"
#include "util/CurlyQuoted.h"

namespace rondelix {

namespace {

// How to write an automation by hand: the file, its name, what it does, and
// that it must be executable. The last step is the only one per action.
std::vector<std::string> writingSteps(const std::string& name, std::string whatItDoes) {
    return {"Open the automations folder (\u201COpen Automations\u201D above).",
            "Make a new file there named exactly " + curlyQuoted(name) + ".", std::move(whatItDoes),
            "Make the file executable (chmod +x)."};
}

ShortcutRequirement row(std::string id, std::string name, std::string title, std::string symbol,
                        std::string summary, std::string whatItDoes,
                        std::optional<std::string> formerName = std::nullopt) {
    auto steps = writingSteps(name, std::move(whatItDoes));
    return {std::move(id),      std::move(name),  std::move(title),     std::move(symbol),
            std::move(summary), std::move(steps), std::move(formerName)};
}

} // namespace

bool ShortcutRequirement::answersTo(std::string_view name) const {
    return equalIgnoringCase(shortcutName, name) ||
           (formerShortcutName && equalIgnoringCase(*formerShortcutName, name));
}

const std::vector<ShortcutRequirement>& ShortcutCatalog::requirements() {
    static const std::vector<ShortcutRequirement> rows = {
        row("toggle-bluetooth", "Toggle Bluetooth", "Bluetooth", "wave.3.right", "Turns Bluetooth on or off.",
            "In it, write a script that turns Bluetooth on when it is off and off when it is on, for example "
            "with bluetoothctl."),
        // The two below are named in this desktop's words; the automations
        // people made under the other system's words still run.
        row("toggle-dnd", "Toggle Do Not Disturb", "Do Not Disturb", "moon.fill",
            "Turns Do Not Disturb on or off.",
            "In it, write a script that switches your desktop's Do Not Disturb on or off.", "Toggle Focus"),
        row("night-shift", "Toggle Night Light", "Night Light", "moon.stars.fill",
            "Turns the night light (the warm display tint) on or off.",
            "In it, write a script that switches your desktop's night light on or off.",
            "Toggle Night Shift"),
    };
    return rows;
}

std::optional<ShortcutRequirement> ShortcutCatalog::requirement(std::string_view forShortcutName) {
    for (const auto& requirement : requirements())
        if (requirement.answersTo(forShortcutName)) return requirement;
    return std::nullopt;
}

std::vector<std::string> ShortcutCatalog::namesToRun(std::string_view shortcutName) {
    std::vector<std::string> names{std::string(shortcutName)};
    for (const auto& requirement : requirements()) {
        if (!requirement.formerShortcutName) continue;
        if (shortcutName == requirement.shortcutName) names.push_back(*requirement.formerShortcutName);
        if (shortcutName == *requirement.formerShortcutName) names.push_back(requirement.shortcutName);
    }
    return names;
}

} // namespace rondelix
