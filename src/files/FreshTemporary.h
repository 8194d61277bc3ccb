#pragma once

#include <filesystem>
#include <functional>
#include <optional>
#include <string_view>

namespace rondelix {

// A temporary file of one write's own, beside the file it replaces:
// ".<name>.<8 hexadecimal digits>.tmp". No other write, in this process or
// another, picks the same name, so none removes or renames another's.

std::filesystem::path freshTemporaryFor(const std::filesystem::path& target);

// The name of the file a fresh temporary of this name was made for, or
// nothing when the name is not one.
std::optional<std::string_view> freshTemporaryTarget(std::string_view name);

// Removes the fresh temporaries in the folder, regular files only, made for
// a file `isTarget` accepts the name of. What a write cut short by a kill
// left: only safe where no such write can be under way.
void removeFreshTemporaries(const std::filesystem::path& folder,
                            const std::function<bool(std::string_view name)>& isTarget);

} // namespace rondelix
