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
                        std::string summary, std::string whatItDoes) {
    auto steps = writingSteps(name, std::move(whatItDoes));
    return {std::move(id),      std::move(name),  std::move(title), std::move(symbol),
            std::move(summary), std::move(steps), std::nullopt};
}

} // namespace

const std::vector<ShortcutRequirement>& ShortcutCatalog::requirements() {
    static const std::vector<ShortcutRequirement> rows = {
        row("toggle-bluetooth", "Toggle Bluetooth", "Bluetooth", "wave.3.right", "Turns Bluetooth on or off.",
            "In it, write a script that turns Bluetooth on when it is off and off when it is on, for example "
            "with bluetoothctl."),
        // The two below keep the file names they have always had: renaming them
        // would lose the automations people made.
        row("toggle-dnd", "Toggle Focus", "Do Not Disturb", "moon.fill", "Turns Do Not Disturb on or off.",
            "In it, write a script that switches your desktop's Do Not Disturb on or off."),
        row("night-shift", "Toggle Night Shift", "Night Light", "moon.stars.fill",
            "Turns the night light (the warm display tint) on or off.",
            "In it, write a script that switches your desktop's night light on or off."),
    };
    return rows;
}

std::optional<ShortcutRequirement> ShortcutCatalog::requirement(std::string_view forShortcutName) {
    for (const auto& requirement : requirements())
        if (equalIgnoringCase(requirement.shortcutName, forShortcutName)) return requirement;
    return std::nullopt;
}

} // namespace rondelix
