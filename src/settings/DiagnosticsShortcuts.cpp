#include "settings/DiagnosticsShortcuts.h"

#include "actions/ShortcutsRunner.h"
#include "catalog/ShortcutCatalog.h"
#include "util/Ascii.h"

#include <algorithm>

namespace rondelix::DiagnosticsShortcuts {

std::string describe(const std::vector<std::string>& installed) {
    std::string text = "count=" + std::to_string(installed.size()) + ";";
    for (const ShortcutRequirement& requirement : ShortcutCatalog::requirements()) {
        if (!requirement.supported) continue;
        const bool found = std::any_of(installed.begin(), installed.end(), [&](const std::string& name) {
            return equalIgnoringCase(name, requirement.shortcutName);
        });
        text += " " + requirement.shortcutName + "=" + (found ? "true" : "false");
    }
    return text;
}

std::string describeFolder(const std::string& folder) {
    return describe(ShortcutsRunner::list(folder));
}

} // namespace rondelix::DiagnosticsShortcuts
