#include "platform/linux/process/PrivateRuntimeFolder.h"

#include <cerrno>
#include <sys/stat.h>
#include <system_error>
#include <unistd.h>

namespace rondelix::platform::linux_desktop {

namespace {

// Empty when the folder is the user's own and closed to everyone else.
std::string whyNotPrivate(const std::filesystem::path& folder, bool followLinks) {
    struct stat info {};
    const int result = followLinks ? ::stat(folder.c_str(), &info) : ::lstat(folder.c_str(), &info);
    if (result != 0) return folder.string() + ": " + std::generic_category().message(errno);
    if (!S_ISDIR(info.st_mode)) return folder.string() + ": not a folder";
    if (info.st_uid != ::getuid()) return folder.string() + ": belongs to another user";
    if ((info.st_mode & 077) != 0) return folder.string() + ": open to other users";
    return {};
}

} // namespace

PrivateRuntimeFolder PrivateRuntimeFolder::find(const char* xdgRuntimeDir,
                                                const std::filesystem::path& fallbackParent) {
    // The desktop's own runtime folder may be reached through a link; the
    // fallback is ours, and a link there could lead anywhere.
    if (xdgRuntimeDir && *xdgRuntimeDir == '/' && whyNotPrivate(xdgRuntimeDir, true).empty())
        return {std::filesystem::path(xdgRuntimeDir), {}};

    const auto folder = fallbackParent / ("rondelix-" + std::to_string(::getuid()));
    if (::mkdir(folder.c_str(), 0700) != 0 && errno != EEXIST)
        return {std::nullopt, folder.string() + ": " + std::generic_category().message(errno)};
    if (auto why = whyNotPrivate(folder, false); !why.empty()) return {std::nullopt, std::move(why)};
    return {folder, {}};
}

} // namespace rondelix::platform::linux_desktop
