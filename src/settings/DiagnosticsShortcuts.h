#pragma once

#include <string>
#include <vector>

namespace rondelix::DiagnosticsShortcuts {

// "count=" and the number of automations installed, then, for each
// required one in catalogue order, the name of its action "=true" or
// "=false", file names compared without regard to letter case.
std::string describe(const std::vector<std::string>& installed);

// Lists the user's automation folder and describes it; blocks on the disk.
std::string describeFolder(const std::string& folder);

} // namespace rondelix::DiagnosticsShortcuts
