#include "catalog/ShortcutCatalog.h"

#include "util/Ascii.h"

namespace rondelix {

namespace {

// The full-width plus is the one the automation tool draws on its button.
constexpr const char* firstStep = "Open Shortcuts and make a new shortcut (the \uFF0B button).";

std::string renameStep(const std::string& name) {
    return "Rename it exactly \u201C" + name + "\u201D.";
}

ShortcutRequirement row(std::string id, std::string name, std::string title, std::string symbol,
                        std::string summary, std::vector<std::string> laterSteps) {
    std::vector<std::string> steps = {firstStep, renameStep(name)};
    steps.insert(steps.end(), laterSteps.begin(), laterSteps.end());
    return {std::move(id),      std::move(name),  std::move(title), std::move(symbol),
            std::move(summary), std::move(steps), std::nullopt,     true,
            std::nullopt};
}

} // namespace

const std::vector<ShortcutRequirement>& ShortcutCatalog::requirements() {
    static const std::vector<ShortcutRequirement> rows = {
        row("toggle-bluetooth", "Toggle Bluetooth", "Bluetooth", "wave.3.right", "Turns Bluetooth on or off.",
            {"Add the action \u201CSet Bluetooth\u201D and switch it to Toggle."}),
        row("toggle-dnd", "Toggle Focus", "Focus / Do Not Disturb", "moon.fill",
            "Toggles a Focus such as Do Not Disturb.",
            {"Add the action \u201CSet Focus\u201D, pick your Focus (e.g. Do Not Disturb), and switch it to "
             "Toggle."}),
        row("night-shift", "Toggle Night Shift", "Night Shift", "moon.stars.fill",
            "Turns Night Shift (the warm display tint) on or off.",
            {"Add the action \u201CSet Night Shift\u201D and switch it to Toggle."}),
        row("true-tone", "Toggle True Tone", "True Tone", "circle.lefthalf.filled",
            "Turns True Tone on or off.",
            {"Add the action \u201CSet True Tone\u201D and switch it to Toggle."}),
        row("stage-manager", "Toggle Stage Manager", "Stage Manager", "rectangle.stack.fill",
            "Turns Stage Manager on or off.",
            {"Add \u201CGet Multitasking Mode\u201D.",
             "Add \u201CIf\u201D, and set it to: If Multitasking Mode is Stage Manager.",
             "Inside the If, add \u201CSet Multitasking Mode\u201D and choose Windowed Apps.",
             "Under Otherwise, add \u201CSet Multitasking Mode\u201D and choose Stage Manager."}),
    };
    return rows;
}

std::optional<ShortcutRequirement> ShortcutCatalog::requirement(std::string_view forShortcutName) {
    for (const auto& requirement : requirements())
        if (equalIgnoringCase(requirement.shortcutName, forShortcutName)) return requirement;
    return std::nullopt;
}

} // namespace rondelix
