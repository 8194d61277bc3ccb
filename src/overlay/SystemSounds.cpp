#include "overlay/SystemSounds.h"

#include "util/Ascii.h"

#include <algorithm>
#include <array>
#include <filesystem>
#include <map>
#include <set>
#include <string_view>
#include <system_error>

namespace rondelix {

namespace {

// The kinds the pickers offer; Ogg is what the desktop's own sound themes ship.
constexpr std::array<std::string_view, 8> soundExtensions{"aiff", "aif", "caf", "wav",
                                                          "m4a",  "mp3", "oga", "ogg"};

bool isSoundFile(const std::filesystem::path& path) {
    const std::string dotted = path.extension().string();
    if (dotted.size() < 2) return false;
    const std::string extension = asciiLowercased(std::string_view(dotted).substr(1));
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
    // Keyed by the folders: another platform's sounds (a test's) are their own.
    static std::map<std::vector<std::string>, std::vector<std::string>> listed;
    const std::vector<std::string> folders = sounds.soundFolders();
    auto found = listed.find(folders);
    if (found == listed.end()) found = listed.emplace(folders, scan(folders)).first;
    return found->second;
}

} // namespace rondelix
