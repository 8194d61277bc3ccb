#pragma once

#include "util/Result.h"

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <system_error>

namespace rondelix {

// Plain file operations for the configuration files. Failures come back as
// the system's description of the error, prefixed with the path; nothing throws.

// The most a configuration file may hold. A larger one is refused rather
// than read into memory, and the store never writes one: what it writes, it
// must read back. The program writes indented, about twice the size of the
// same wheels written compactly, so this lies well above twice the largest
// import (some 60,000 wheels of eight slices), while a runaway
// file still cannot cost a gigabyte of memory at every start.
inline constexpr std::size_t maxConfigFileBytes = 256u * 1024u * 1024u;

// Reads a whole regular file of at most maxBytes bytes, following symbolic
// links. A directory, a FIFO or a device is refused without blocking.
Result<std::string> readWholeFile(const std::filesystem::path& file,
                                  std::size_t maxBytes = maxConfigFileBytes);

// True only when nothing is at the path (a dangling link counts as nothing).
// A path that cannot be looked at, for example inside an unreadable folder,
// counts as present, so that reading it reports why.
bool isMissing(const std::filesystem::path& file);

// Where the bytes wait before the rename. A fixed "<name>.tmp" clears
// whatever a failed earlier write left there first, so it suits a file only
// one write at a time ever makes. A fresh hidden name (FreshTemporary.h)
// touches nothing already there: for a folder the user chose, and for a file
// that a quitting program and the next start may both write, whose
// leftovers the start removes.
enum class TemporaryName { fixed, fresh };

// The mode of a file that does not exist yet. The program's own files hold
// whatever a user typed into a slice, so they are the user's alone (0600); a
// file the user exports or installs for use elsewhere is made as any other
// program makes it (0666 less the umask). A file already there keeps its mode.
enum class NewFileMode { privateToUser, userUmask };

// Writes the bytes so that a reader sees the old file or the new one, never a
// part. The bytes go to a temporary file in the same folder, are flushed to
// the disk and then renamed over the file. When the path is a symbolic link
// the file it points at is replaced and the link stays. `beforeReplacing`
// runs once the new bytes are on the disk, right before the rename, with the
// name that holds them until then (where a backup of the old file is taken,
// and the new file told from any other); it does not run when the write fails.
// Given `replaced`, where the system can swap two names at once the file
// replaced is handed to it under the temporary name it then bears, to look
// at what it was and keep it elsewhere; what stays there is removed.
Result<> writeFileAtomically(const std::filesystem::path& file, std::string_view bytes,
                             TemporaryName temporary = TemporaryName::fixed,
                             NewFileMode newMode = NewFileMode::privateToUser,
                             const std::function<void(const std::filesystem::path&)>& beforeReplacing = {},
                             const std::function<void(const std::filesystem::path&)>& replaced = {});

// As writeFileAtomically, through a fresh temporary, for one of the
// program's files holding a copy of `original`: the copy allows nobody what
// the original does not, so a mode the user tightened on a file holds for its
// backup as well.
Result<> writeCopyAtomically(const std::filesystem::path& file, std::string_view bytes,
                             const std::filesystem::path& original);

// What tells one state of a file from another without reading it: which
// file it is, its size and when it was last written. A file replaced by a
// rename or written in place gets another identity.
struct FileIdentity {
    std::uint64_t device = 0;
    std::uint64_t inode = 0;
    std::int64_t size = 0;
    std::int64_t modifiedNs = 0;

    friend bool operator==(const FileIdentity&, const FileIdentity&) = default;
};

// The identity of the file at the path (following symbolic links), or
// nothing when it cannot be looked at.
std::optional<FileIdentity> fileIdentity(const std::filesystem::path& file);

// As writeCopyAtomically, without writing the bytes again: the file
// `original` names is linked under a fresh temporary name beside `file` and renamed
// over it, so both names share it until the original is replaced by a rename.
// Only for an original whose bytes already reached the disk and that is only
// ever replaced, never written in place. Fails, changing nothing, where the
// copy would allow more than the file it replaces or the two lie on different
// file systems; writeCopyAtomically then does it.
Result<> linkCopyAtomically(const std::filesystem::path& file, const std::filesystem::path& original);

// Why no file can be made or replaced in the folder (it refuses this user,
// or its file system is read-only); none when one can, or when the folder is
// missing and so still to be made.
std::error_code folderWriteError(const std::filesystem::path& folder);

// Makes the folder and any missing folder above it, each new one open to the
// user alone (0700); folders already there are left as they are. Gives the
// error that stopped it, or none.
std::error_code makePrivateFolders(const std::filesystem::path& folder);

// Writes a file only its owner may read (mode 0600), atomically, into a folder
// others may share: the temporary name is fresh and the rename replaces
// whatever link stands under the name instead of writing where it points.
Result<> writePrivateFileAtomically(const std::filesystem::path& file, std::string_view bytes);

// The name a damaged file is set aside under: its extension becomes
// "corrupt-<seconds>.json". A clash number above zero is added as "-<n>"
// so that an earlier set-aside file is never overwritten.
std::filesystem::path setAsideName(const std::filesystem::path& file, std::int64_t unixSeconds,
                                   int clash = 0);

// Moves a damaged file to its set-aside name for the given Unix time (see
// setAsideName), numbering it past any earlier file of that name
// rather than replacing it; a file under a passing name goes where the file
// `namedAs` would. Returns where it went, or nothing on failure.
std::optional<std::filesystem::path> setAside(const std::filesystem::path& file, std::int64_t unixSeconds,
                                              const std::filesystem::path& namedAs = {});

} // namespace rondelix
