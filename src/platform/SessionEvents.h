#pragma once

#include <functional>

namespace rondelix::platform {

// Notices of the program becoming the active application and of the session
// coming back from sleep, a locked screen or the screen saver; after those
// the system may have dropped the program's global input. Handlers run on
// the main queue.
class SessionEvents {
  public:
    enum class Notice {
        didWake,
        screensDidWake,
        sessionDidBecomeActive,
        screenIsUnlocked,
        screenSaverDidStop
    };
    using Token = int;

    virtual ~SessionEvents() = default;

    virtual Token observeActivation(std::function<void()> handler) = 0;
    virtual Token observe(Notice notice, std::function<void()> handler) = 0;
    virtual void remove(Token token) = 0;
};

} // namespace rondelix::platform
