#include "files/FileAccess.h"

#include "files/FreshTemporary.h"
#include "files/ImportSafety.h"

#include <cerrno>
#include <cstdio>
#include <fcntl.h>
#include <sys/stat.h>
#include <system_error>
#include <unistd.h>

namespace rondelix {

namespace {

Failure describe(const std::filesystem::path& file, int error) {
    return {file.string() + ": " + std::generic_category().message(error)};
}

class FileDescriptor {
  public:
    explicit FileDescriptor(int fd) : fd_(fd) {}
    ~FileDescriptor() {
        if (fd_ >= 0) ::close(fd_);
    }
    FileDescriptor(const FileDescriptor&) = delete;
    FileDescriptor& operator=(const FileDescriptor&) = delete;

    int get() const { return fd_; }
    bool valid() const { return fd_ >= 0; }
    // Closes now, reporting the error a delayed write may only show here.
    int close() {
        const int result = ::close(fd_);
        fd_ = -1;
        return result == 0 ? 0 : errno;
    }

  private:
    int fd_;
};

int writeAll(int fd, std::string_view bytes) {
    while (!bytes.empty()) {
        const ssize_t written = ::write(fd, bytes.data(), bytes.size());
        if (written < 0) {
            if (errno == EINTR) continue;
            return errno;
        }
        bytes.remove_prefix(static_cast<std::size_t>(written));
    }
    return 0;
}

// The file a write should replace: the end of a chain of symbolic links,
// followed even when it dangles, so that a configuration kept elsewhere
// through a link stays there. Nothing when the chain loops.
std::optional<std::filesystem::path> replacementTarget(const std::filesystem::path& file) {
    constexpr int maxLinks = 40;
    std::filesystem::path target = file;
    for (int hop = 0; hop < maxLinks; ++hop) {
        std::error_code ec;
        if (!std::filesystem::is_symlink(target, ec)) return target;
        const auto link = std::filesystem::read_symlink(target, ec);
        if (ec) return target;
        target = link.is_absolute() ? link : target.parent_path() / link;
    }
    return std::nullopt;
}

void syncFolder(const std::filesystem::path& folder) {
    FileDescriptor dir(::open(folder.empty() ? "." : folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (dir.valid()) ::fsync(dir.get());
}

// The bytes go to a fresh temporary file, reach the disk, and the rename puts
// it under the target's name (replacing the name itself, link or file).
// Each is handed a file under its temporary name.
using Replacing = std::function<void(const std::filesystem::path&)>;

Result<> writeThrough(const std::filesystem::path& temp, const std::filesystem::path& target, mode_t mode,
                      std::string_view bytes, const Replacing& beforeReplacing = {},
                      const Replacing& replaced = {}) {
    // O_EXCL with O_NOFOLLOW makes sure the bytes land in a fresh file.
    FileDescriptor fd(::open(temp.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, mode));
    if (!fd.valid()) return describe(target, errno);

    const auto fail = [&](int error) {
        ::unlink(temp.c_str());
        return describe(target, error);
    };
    if (const int error = writeAll(fd.get(), bytes)) return fail(error);
    if (::fsync(fd.get()) != 0) return fail(errno);
    if (const int error = fd.close()) return fail(error);
    if (beforeReplacing) beforeReplacing(temp);
    // A swap fails, changing nothing, where there is no file to replace or
    // the file system cannot swap; the rename then does it.
    if (replaced && ::renameat2(AT_FDCWD, temp.c_str(), AT_FDCWD, target.c_str(), RENAME_EXCHANGE) == 0) {
        replaced(temp);
        ::unlink(temp.c_str());
    } else if (::rename(temp.c_str(), target.c_str()) != 0) {
        return fail(errno);
    }
    syncFolder(target.parent_path());
    return {};
}

} // namespace

Result<std::string> readWholeFile(const std::filesystem::path& file, std::size_t maxBytes) {
    ImportSafety::Read read = ImportSafety::readData(file, maxBytes);
    if (read.ok()) return std::move(read.bytes);
    if (read.failure->kind == ImportSafety::Failure::Kind::tooLarge) return describe(file, EFBIG);
    return Failure{std::move(read.failure->description)};
}

bool isMissing(const std::filesystem::path& file) {
    struct stat info {};
    if (::stat(file.c_str(), &info) == 0) return false;
    return errno == ENOENT || errno == ENOTDIR;
}

namespace {

constexpr mode_t permissionBits = 07777;

// The mode a write gives the file: its own when it exists, else the new file's.
mode_t modeFor(const std::filesystem::path& target, NewFileMode newMode) {
    struct stat existing {};
    if (::stat(target.c_str(), &existing) == 0 && S_ISREG(existing.st_mode))
        return existing.st_mode & permissionBits;
    return newMode == NewFileMode::privateToUser ? 0600 : 0666;
}

Result<> writeWithMode(const std::filesystem::path& file, std::string_view bytes, TemporaryName temporary,
                       NewFileMode newMode, std::optional<mode_t> limit,
                       const Replacing& beforeReplacing = {}, const Replacing& replaced = {}) {
    const auto resolved = replacementTarget(file);
    if (!resolved) return describe(file, ELOOP);
    const std::filesystem::path& target = *resolved;
    std::filesystem::path temp = target;
    if (temporary == TemporaryName::fixed) {
        temp += ".tmp";
        // Whatever a failed earlier write left under the temporary name goes first.
        if (::unlink(temp.c_str()) != 0 && errno != ENOENT && errno != EISDIR) return describe(temp, errno);
    } else {
        temp = freshTemporaryFor(target);
    }
    mode_t mode = modeFor(target, newMode);
    if (limit) mode &= *limit;
    return writeThrough(temp, target, mode, bytes, beforeReplacing, replaced);
}

} // namespace

Result<> writeFileAtomically(const std::filesystem::path& file, std::string_view bytes,
                             TemporaryName temporary, NewFileMode newMode, const Replacing& beforeReplacing,
                             const Replacing& replaced) {
    return writeWithMode(file, bytes, temporary, newMode, std::nullopt, beforeReplacing, replaced);
}

Result<> writeCopyAtomically(const std::filesystem::path& file, std::string_view bytes,
                             const std::filesystem::path& original) {
    std::optional<mode_t> limit;
    struct stat info {};
    if (::stat(original.c_str(), &info) == 0) limit = info.st_mode & permissionBits;
    return writeWithMode(file, bytes, TemporaryName::fresh, NewFileMode::privateToUser, limit);
}

std::optional<FileIdentity> fileIdentity(const std::filesystem::path& file) {
    struct stat info {};
    if (::stat(file.c_str(), &info) != 0) return std::nullopt;
    return FileIdentity{static_cast<std::uint64_t>(info.st_dev), static_cast<std::uint64_t>(info.st_ino),
                        static_cast<std::int64_t>(info.st_size),
                        static_cast<std::int64_t>(info.st_mtim.tv_sec) * 1'000'000'000 +
                            info.st_mtim.tv_nsec};
}

Result<> linkCopyAtomically(const std::filesystem::path& file, const std::filesystem::path& original) {
    const auto resolved = replacementTarget(file);
    if (!resolved) return describe(file, ELOOP);
    const std::filesystem::path& target = *resolved;
    struct stat source {};
    if (::stat(original.c_str(), &source) != 0) return describe(original, errno);
    const mode_t shared = source.st_mode & permissionBits;
    if ((modeFor(target, NewFileMode::privateToUser) & shared) != shared) return describe(target, EPERM);
    const std::filesystem::path temp = freshTemporaryFor(target);
    if (::linkat(AT_FDCWD, original.c_str(), AT_FDCWD, temp.c_str(), AT_SYMLINK_FOLLOW) != 0)
        return describe(temp, errno);
    const int error = ::rename(temp.c_str(), target.c_str()) == 0 ? 0 : errno;
    // A rename between two names of the same file leaves both.
    ::unlink(temp.c_str());
    if (error) return describe(target, error);
    return {};
}

std::error_code folderWriteError(const std::filesystem::path& folder) {
    // The effective ids and capabilities decide, as they do for the write.
    if (::faccessat(AT_FDCWD, folder.c_str(), W_OK | X_OK, AT_EACCESS) == 0 || errno == ENOENT) return {};
    return {errno, std::generic_category()};
}

std::error_code makePrivateFolders(const std::filesystem::path& folder) {
    std::filesystem::path made;
    for (const auto& part : folder) {
        made /= part;
        if (::mkdir(made.c_str(), 0700) == 0 || errno == EEXIST) continue;
        const int error = errno;
        // A folder that is there may still refuse to be made again (EACCES or
        // EROFS above the home folder): only one still missing fails.
        struct stat info {};
        if (::stat(made.c_str(), &info) == 0 && S_ISDIR(info.st_mode)) continue;
        return {error, std::generic_category()};
    }
    struct stat info {};
    if (::stat(folder.c_str(), &info) != 0) return {errno, std::generic_category()};
    if (!S_ISDIR(info.st_mode)) return std::make_error_code(std::errc::not_a_directory);
    return {};
}

Result<> writePrivateFileAtomically(const std::filesystem::path& file, std::string_view bytes) {
    return writeThrough(freshTemporaryFor(file), file, 0600, bytes);
}

namespace {

bool renameWithoutReplacing(const std::filesystem::path& from, const std::filesystem::path& to,
                            bool& alreadyExists) {
    alreadyExists = false;
    if (::renameat2(AT_FDCWD, from.c_str(), AT_FDCWD, to.c_str(), RENAME_NOREPLACE) == 0) return true;
    if (errno == EEXIST) {
        alreadyExists = true;
        return false;
    }
    if (errno != EINVAL && errno != ENOSYS) return false;
    // A file system without the no-replace rename: check first instead.
    struct stat info {};
    if (::lstat(to.c_str(), &info) == 0) {
        alreadyExists = true;
        return false;
    }
    return ::rename(from.c_str(), to.c_str()) == 0;
}

} // namespace

std::filesystem::path setAsideName(const std::filesystem::path& file, std::int64_t unixSeconds, int clash) {
    std::string name = file.stem().string() + ".corrupt-" + std::to_string(unixSeconds);
    if (clash > 0) name += "-" + std::to_string(clash);
    name += ".json";
    return file.parent_path() / name;
}

std::optional<std::filesystem::path> setAside(const std::filesystem::path& file, std::int64_t unixSeconds,
                                              const std::filesystem::path& namedAs) {
    constexpr int maxClashes = 1000;
    for (int clash = 0; clash < maxClashes; ++clash) {
        const auto target = setAsideName(namedAs.empty() ? file : namedAs, unixSeconds, clash);
        bool alreadyExists = false;
        if (renameWithoutReplacing(file, target, alreadyExists)) return target;
        if (!alreadyExists) return std::nullopt;
    }
    return std::nullopt;
}

} // namespace rondelix
