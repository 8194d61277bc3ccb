#pragma once

#include "platform/Sounds.h"

#include <string>
#include <vector>

namespace rondelix {

// The names the sound pickers offer: every sound file in the sound folders,
// by name without extension, each name once, in the order of their titles.
struct SystemSounds {
    // Listed once per run for the folders, on first use; sounds added later
    // show after a restart.
    static const std::vector<std::string>& all(const platform::Sounds& sounds);
    // The listing itself; a folder that cannot be read counts as empty. The
    // program's own sounds and the desktop theme's make one list, sorted by
    // title whatever the case.
    static std::vector<std::string> scan(const std::vector<std::string>& folders);
    // The name as a picker shows it: a theme's "alarm-clock-elapsed" reads
    // "Alarm Clock Elapsed". The stored name stays the file's.
    static std::string title(const std::string& name);
};

} // namespace rondelix
