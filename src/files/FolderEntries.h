#pragma once

#include <cstdint>
#include <filesystem>
#include <optional>

// Facts about one entry of a folder that std::filesystem has no word for.
namespace rondelix {

// When the entry itself (not what a link at it leads to) came to be, in Unix
// seconds; nothing when the file system does not keep it.
std::optional<std::int64_t> creationTime(const std::filesystem::path& entry);

// Removes the entry unless it is a folder, an empty one included.
void removeUnlessFolder(const std::filesystem::path& entry);

// The program may run the file, as the system judges it for this process.
bool isExecutableFile(const std::filesystem::path& file);

} // namespace rondelix
