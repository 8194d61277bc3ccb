#include "platform/linux/process/ProgramExecutables.h"

#include <system_error>

namespace rondelix::platform::linux_desktop {

std::optional<std::filesystem::path> ProgramExecutables::beside(const char* name) {
    // The kernel's own record of the running file, with every link resolved:
    // a front reached through a link in a bin folder still finds its program.
    std::error_code error;
    const auto running = std::filesystem::read_symlink("/proc/self/exe", error);
    if (error || running.empty()) return std::nullopt;
    return running.parent_path() / name;
}

} // namespace rondelix::platform::linux_desktop
