#include "actions/ShippedAutomation.h"

#include "catalog/ShortcutCatalog.h"
#include "files/FileAccess.h"

namespace rondelix::ShippedAutomation {

namespace {

// Far more than any automation the program ships: a larger file is the user's.
constexpr std::size_t largestShipped = 64 * 1024;

} // namespace

bool installedUnchanged(const std::filesystem::path& automationsFolder,
                        const std::filesystem::path& shippedFolder, std::string_view name) {
    if (shippedFolder.empty() || automationsFolder.empty()) return false;
    const auto shipped = readWholeFile(shippedFolder / std::string(name), largestShipped);
    if (!shipped.ok()) return false;
    // The first name that is there is the one that runs.
    for (const std::string& file : ShortcutCatalog::namesToRun(name)) {
        const std::filesystem::path installed = automationsFolder / file;
        if (isMissing(installed)) continue;
        const auto read = readWholeFile(installed, largestShipped);
        return read.ok() && read.value() == shipped.value();
    }
    return false;
}

} // namespace rondelix::ShippedAutomation
