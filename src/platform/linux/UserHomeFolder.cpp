#include "platform/linux/UserHomeFolder.h"

#include <cstdlib>
#include <pwd.h>
#include <unistd.h>
#include <vector>

namespace rondelix::platform::linux_desktop {

std::filesystem::path UserHomeFolder::path() const {
    if (const char* home = std::getenv("HOME"); home && *home) return home;
    std::vector<char> buffer(16 * 1024);
    passwd entry{};
    passwd* found = nullptr;
    if (getpwuid_r(getuid(), &entry, buffer.data(), buffer.size(), &found) == 0 && found && found->pw_dir)
        return found->pw_dir;
    // Without any home folder the working folder keeps the program usable.
    return std::filesystem::current_path();
}

} // namespace rondelix::platform::linux_desktop
