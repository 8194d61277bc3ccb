#pragma once

#include <functional>

namespace rondelix {

// A monitor of the program's own key presses (not global input): while one is
// installed, Esc pressed in any window of the program calls it and goes no
// further; other keys pass untouched.
class EscapeMonitor {
  public:
    using Token = int;

    virtual ~EscapeMonitor() = default;
    virtual Token add(std::function<void()> onEscape) = 0;
    virtual void remove(Token token) = 0;
};

} // namespace rondelix
