#include "files/ImportSafety.h"

#include <algorithm>
#include <cerrno>
#include <fcntl.h>
#include <linux/magic.h>
#include <sys/stat.h>
#include <sys/statfs.h>
#include <system_error>
#include <unistd.h>

namespace rondelix::ImportSafety {

namespace {

constexpr std::size_t chunkBytes = 64 * 1024;

Read unreadable(const std::filesystem::path& file, const std::string& why) {
    return {{}, Failure{Failure::Kind::unreadable, file.string() + ": " + why}};
}

Read unreadable(const std::filesystem::path& file, int error) {
    return unreadable(file, std::generic_category().message(error));
}

Read tooLarge() {
    return {{}, Failure{Failure::Kind::tooLarge, {}}};
}

// The file systems whose files the kernel makes up as they are read.
bool isMadeUpByTheKernel(int fd) {
    struct statfs system {};
    if (::fstatfs(fd, &system) != 0) return true;
    switch (static_cast<unsigned long>(system.f_type)) {
    case PROC_SUPER_MAGIC:
    case SYSFS_MAGIC:
    case DEBUGFS_MAGIC:
    case TRACEFS_MAGIC:
    case SECURITYFS_MAGIC:
    case CGROUP_SUPER_MAGIC:
    case CGROUP2_SUPER_MAGIC:
    case BPF_FS_MAGIC:
    case EFIVARFS_MAGIC:
    case PSTOREFS_MAGIC:
        return true;
    default:
        return false;
    }
}

Read readFile(const std::filesystem::path& file, std::size_t maxBytes, bool storedOnly) {
    // Opening without blocking: a FIFO with no writer would otherwise hold
    // the program until one appears.
    const int fd = ::open(file.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC | O_NOCTTY);
    if (fd < 0) return unreadable(file, errno);
    struct Closer {
        int fd;
        ~Closer() { ::close(fd); }
    } closer{fd};

    struct stat info {};
    if (::fstat(fd, &info) != 0) return unreadable(file, errno);
    if (S_ISDIR(info.st_mode)) return unreadable(file, EISDIR);
    if (!S_ISREG(info.st_mode)) return unreadable(file, "not a regular file");
    if (storedOnly && isMadeUpByTheKernel(fd)) return unreadable(file, "not a file stored on a disk");
    if (info.st_size > 0 && static_cast<std::uintmax_t>(info.st_size) > maxBytes) return tooLarge();

    // The size is only a hint: files of the kernel's own report none, and the
    // file may grow while it is read.
    Read result;
    result.bytes.reserve(
        std::min<std::size_t>(static_cast<std::size_t>(std::max<off_t>(info.st_size, 0)), maxBytes) + 1);
    std::string chunk(chunkBytes, '\0');
    for (;;) {
        const std::size_t wanted = std::min(chunkBytes, maxBytes + 1 - result.bytes.size());
        const ssize_t got = ::read(fd, chunk.data(), wanted);
        if (got < 0) {
            if (errno == EINTR) continue;
            return unreadable(file, errno);
        }
        if (got == 0) return result;
        result.bytes.append(chunk.data(), static_cast<std::size_t>(got));
        if (result.bytes.size() > maxBytes) return tooLarge();
    }
}

} // namespace

Read readData(const std::filesystem::path& file, std::size_t maxBytes) {
    return readFile(file, maxBytes, false);
}

Read readStoredData(const std::filesystem::path& file, std::size_t maxBytes) {
    return readFile(file, maxBytes, true);
}

} // namespace rondelix::ImportSafety
