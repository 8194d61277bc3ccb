#include "platform/linux/x11/X11PostLedger.h"

#include <algorithm>

namespace rondelix::platform::linux_desktop {

void X11PostLedger::note(int xKeyCode, bool press, double now, bool expectGrabbedEcho) {
    std::lock_guard lock(mutex_);
    raw_.push_back({xKeyCode, press, now + lifetime});
    if (expectGrabbedEcho) grabbed_.push_back({xKeyCode, press, now + lifetime});
}

bool X11PostLedger::claim(Channel channel, int xKeyCode, bool press, double now) {
    std::lock_guard lock(mutex_);
    return take(channel == Channel::raw ? raw_ : grabbed_, xKeyCode, press, now);
}

bool X11PostLedger::take(std::deque<Entry>& entries, int xKeyCode, bool press, double now) {
    std::erase_if(entries, [now](const Entry& e) { return e.expires < now; });
    // Echoes come back in posting order, so the oldest matching note is ours.
    const auto it = std::find_if(entries.begin(), entries.end(),
                                 [&](const Entry& e) { return e.xKeyCode == xKeyCode && e.press == press; });
    if (it == entries.end()) return false;
    entries.erase(it);
    return true;
}

} // namespace rondelix::platform::linux_desktop
