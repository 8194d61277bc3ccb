#pragma once

#include <filesystem>
#include <string_view>

namespace rondelix::ShippedAutomation {

// Whether the automation that runs under that name (or the name it had
// before) in the automations folder is, byte for byte, the one the program
// ships in its own folder of them. Reads both files: small, but still off the
// window's thread where it can be.
bool installedUnchanged(const std::filesystem::path& automationsFolder,
                        const std::filesystem::path& shippedFolder, std::string_view name);

} // namespace rondelix::ShippedAutomation
