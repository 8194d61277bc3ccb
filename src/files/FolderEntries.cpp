#include "files/FolderEntries.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace rondelix {

std::optional<std::int64_t> creationTime(const std::filesystem::path& entry) {
    struct statx info {};
    if (::statx(AT_FDCWD, entry.c_str(), AT_SYMLINK_NOFOLLOW, STATX_BTIME, &info) != 0) return std::nullopt;
    if (!(info.stx_mask & STATX_BTIME)) return std::nullopt;
    return static_cast<std::int64_t>(info.stx_btime.tv_sec);
}

void removeUnlessFolder(const std::filesystem::path& entry) {
    ::unlink(entry.c_str());
}

bool isExecutableFile(const std::filesystem::path& file) {
    return ::access(file.c_str(), X_OK) == 0;
}

} // namespace rondelix
