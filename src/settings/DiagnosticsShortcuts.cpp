#include "settings/DiagnosticsShortcuts.h"

#include "actions/ShortcutsRunner.h"
#include "catalog/ShortcutCatalog.h"
#include "catalog/SystemAction.h"

#include <algorithm>

namespace rondelix::DiagnosticsShortcuts {

std::string describe(const std::vector<std::string>& installed) {
    std::string text = "count=" + std::to_string(installed.size()) + ";";
    for (const ShortcutRequirement& requirement : ShortcutCatalog::requirements()) {
        const bool found = std::any_of(installed.begin(), installed.end(),
                                       [&](const std::string& name) { return requirement.answersTo(name); });
        // Named as the slice form names the action: the file keeps the name it
        // has always had, which may be another desktop's word.
        const auto action = SystemAction::find(requirement.id);
        text += " " + (action ? action->displayName : requirement.shortcutName) + "=" +
                (found ? "true" : "false");
    }
    return text;
}

std::string describeFolder(const std::string& folder) {
    return describe(ShortcutsRunner::list(folder));
}

} // namespace rondelix::DiagnosticsShortcuts
