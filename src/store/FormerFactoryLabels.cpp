#include "store/FormerFactoryLabels.h"

#include "catalog/ShortcutCatalog.h"

namespace rondelix {

namespace {

bool runs(const MacroAction& action, const ShortcutRequirement& requirement) {
    if (const auto* system = action.as<MacroAction::SystemAction>()) return system->id == requirement.id;
    if (const auto* shortcut = action.as<MacroAction::Shortcut>())
        return requirement.answersTo(shortcut->name);
    return false;
}

} // namespace

void renameFormerFactoryLabels(Config& config) {
    for (Wheel& wheel : config.wheels)
        renameFormerFactoryLabels(wheel);
}

void renameFormerFactoryLabels(Wheel& wheel) {
    for (const ShortcutRequirement& requirement : ShortcutCatalog::requirements()) {
        if (!requirement.formerShortcutName) continue;
        for (Slice& slice : wheel.slices)
            if (slice.label == *requirement.formerShortcutName && runs(slice.action, requirement))
                slice.label = requirement.shortcutName;
    }
}

} // namespace rondelix
