#include "overlay/SystemSounds.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <filesystem>
#include <set>
#include <string_view>
#include <system_error>

namespace rondelix {

namespace {

// The kinds the pickers offer; Ogg is what the desktop's own sound themes ship.
constexpr std::array<std::string_view, 8> soundExtensions{"aiff", "aif", "caf", "wav",
                                                          "m4a",  "mp3", "oga", "ogg"};

bool isSoundFile(const std::filesystem::path& path) {
    std::string extension = path.extension().string();
    if (extension.size() < 2) return false;
    extension.erase(0, 1);
    std::transform(extension.begin(), extension.end(), extension.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return std::find(soundExtensions.begin(), soundExtensions.end(), extension) != soundExtensions.end();
}

} // namespace

std::vector<std::string> SystemSounds::scan(const std::vector<std::string>& folders) {
    std::set<std::string> names;
    for (const std::string& folder : folders) {
        // Never throws: a folder that vanishes or cannot be read midway just
        // ends its listing.
        std::error_code error;
        for (std::filesystem::directory_iterator it(folder, error), end; !error && it != end;
             it.increment(error)) {
            const auto& path = it->path();
            if (isSoundFile(path)) names.insert(path.stem().string());
        }
    }
    return {names.begin(), names.end()};
}

const std::vector<std::string>& SystemSounds::all(const platform::Sounds& sounds) {
    static const std::vector<std::string> names = scan(sounds.soundFolders());
    return names;
}

} // namespace rondelix
