#include "icons/IconStore.h"

#include <cstdlib>
#include <fstream>

namespace rondelix::IconStore {

namespace fs = std::filesystem;

fs::path directory() {
    const char* home = std::getenv("HOME");
    if (!home || !*home) return {};
    return fs::path(home) / ".config/rondelix/icons";
}

bool isUsableFilename(std::string_view filename) {
    if (filename.empty() || filename == "." || filename == "..") return false;
    return fs::path(filename).filename() == fs::path(filename) &&
           filename.find('/') == std::string_view::npos;
}

std::optional<std::string> load(const std::string& filename) {
    return load(directory(), filename);
}

std::optional<std::string> load(const fs::path& folder, const std::string& filename) {
    if (!isUsableFilename(filename) || folder.empty()) return std::nullopt;
    const fs::path file = folder / filename;
    // A FIFO or a device under an icon's name must not stall the redraw.
    std::error_code error;
    if (!fs::is_regular_file(file, error)) return std::nullopt;
    const auto size = fs::file_size(file, error);
    if (error || size > maxFileBytes) return std::nullopt;
    std::ifstream in(file, std::ios::binary);
    if (!in) return std::nullopt;
    std::string bytes(static_cast<std::size_t>(size), '\0');
    in.read(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    if (in.bad()) return std::nullopt;
    bytes.resize(static_cast<std::size_t>(in.gcount()));
    return bytes;
}

} // namespace rondelix::IconStore
