#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

// The folder of the user's own slice pictures, ".config/rondelix/icons" in
// the home folder, with PNG files named by a UUID.
namespace rondelix::IconStore {

// A custom icon file can never hold more than this, the most a restore writes.
inline constexpr std::uintmax_t maxFileBytes = 5u * 1024 * 1024;

std::filesystem::path directory();

// A name is usable when it is not empty, not "." or "..", and is its own last
// path component, so it names nothing outside the folder.
bool isUsableFilename(std::string_view filename);

// The contents of a custom icon file, read on the calling thread; none for an
// unusable name (without touching the disk), a missing file, or anything but
// a regular file of at most `maxFileBytes`. The view decodes the image and
// treats bytes that do not decode as no image.
std::optional<std::string> load(const std::string& filename);
std::optional<std::string> load(const std::filesystem::path& folder, const std::string& filename);

} // namespace rondelix::IconStore
