#pragma once

#include "catalog/SystemAction.h"
#include "model/Config.h"

#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace rondelix {

// What the gallery asks of the rest of the program, which sits above it:
// the user's wheels, the store's undo, opening a link and the wheel editor.
struct GalleryServices {
    std::function<std::vector<std::string>()> wheelNames;
    // Appends as one undo step of its own.
    std::function<void(Wheel)> appendWheel;
    std::function<void()> undo;
    // Plays the fire feedback and opens the link as a slice would.
    std::function<void(const MacroAction&)> openLink;
    // Shows the wheel in the editor.
    std::function<void(const std::string& wheelId)> viewWheel;
    // Why a system action does nothing on this desktop; nothing when it works.
    SystemActionUnavailable systemActionUnavailable;
    // Whether an added wheel reaches the configuration file; unset means it does.
    std::function<bool()> keepsChanges;
    // Writes one line to the program's log; main thread only.
    std::function<void(const std::string& line)> log;
};

} // namespace rondelix
