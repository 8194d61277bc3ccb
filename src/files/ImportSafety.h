#pragma once

#include <cstddef>
#include <filesystem>
#include <optional>
#include <string>

// Reading a file that arrives from elsewhere without trusting its size or kind.
namespace rondelix::ImportSafety {

// The most an import of a wheel or a configuration reads: 48 MiB.
inline constexpr std::size_t maxImportBytes = 48u * 1024u * 1024u;

struct Failure {
    enum class Kind { tooLarge, unreadable };
    Kind kind = Kind::unreadable;
    // The system's words for an unreadable file, with its path.
    std::string description;
};

struct Read {
    std::string bytes;
    std::optional<Failure> failure;

    bool ok() const { return !failure; }
};

// The bytes of a regular file of at most maxBytes bytes. Anything else (a
// folder, a FIFO, a device) is unreadable at once, without waiting on it; a
// file with more bytes is tooLarge. Reads until the end of the file, however
// the system splits the reads, and never keeps more than maxBytes + 1 bytes.
Read readData(const std::filesystem::path& file, std::size_t maxBytes);

// As readData, for a file that must hold bytes stored on a disk, such as a
// picture the user chose: a file the kernel makes up as it is read (under
// /proc, /sys and their kin) is unreadable too, at once. Its reading could
// wait, never end, or hand over what it shows of the system.
Read readStoredData(const std::filesystem::path& file, std::size_t maxBytes);

} // namespace rondelix::ImportSafety
