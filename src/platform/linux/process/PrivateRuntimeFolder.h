#pragma once

#include <filesystem>
#include <optional>
#include <string>

namespace rondelix::platform::linux_desktop {

// A folder for the program's sockets that no other user can enter, so that
// nobody else can put a socket where the program looks for its own.
struct PrivateRuntimeFolder {
    std::optional<std::filesystem::path> path;
    std::string failure; // why there is none

    // $XDG_RUNTIME_DIR when it is a folder of the user's that nobody else may
    // enter; otherwise "rondelix-<uid>" under `fallbackParent`, created with
    // mode 0700 and checked the same way (a folder of that name owned by
    // someone else, or a link, is never used).
    static PrivateRuntimeFolder find(const char* xdgRuntimeDir,
                                     const std::filesystem::path& fallbackParent = "/tmp");
};

} // namespace rondelix::platform::linux_desktop
