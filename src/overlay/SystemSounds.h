#pragma once

#include "platform/Sounds.h"

#include <string>
#include <vector>

namespace rondelix {

// The names the sound pickers offer: every sound file in the sound folders,
// by name without extension, each name once, sorted.
struct SystemSounds {
    // Listed once per run for the folders, on first use; sounds added later
    // show after a restart.
    static const std::vector<std::string>& all(const platform::Sounds& sounds);
    // The listing itself; a folder that cannot be read counts as empty.
    static std::vector<std::string> scan(const std::vector<std::string>& folders);
};

} // namespace rondelix
