#include "platform/sim/SimFileWatcher.h"

#include <system_error>

namespace rondelix::platform::sim {

bool SimFileWatcher::arm(const std::filesystem::path& file, Handler onChange) {
    disarm();
    std::error_code ec;
    if (refusing || !std::filesystem::exists(file, ec)) return false;
    watched_ = file;
    handler_ = std::move(onChange);
    ++armCount_;
    return true;
}

void SimFileWatcher::disarm() {
    watched_.reset();
    handler_ = nullptr;
}

void SimFileWatcher::fire(Change change) {
    if (!handler_) return;
    // The handler may re-arm, which replaces handler_ while it runs.
    const Handler handler = handler_;
    handler(change);
}

} // namespace rondelix::platform::sim
