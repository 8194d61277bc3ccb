#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>

namespace rondelix {

// A key event that reached the program, in the system's own key codes. A
// modifier key going down or up is a flags change carrying the flag word
// with the key's own side bit set while it is down.
struct MonitoredKeyEvent {
    enum class Type { keyDown, keyUp, flagsChanged };
    Type type = Type::keyDown;
    int keyCode = 0;
    std::optional<std::uint64_t> flags;
};

// The bit a modifier key sets in the flag word while it is down: its own
// side's bit, or the group's for Fn, which has no side; 0 for other keys and
// for Caps Lock, which locks rather than being held.
std::uint64_t modifierDownBit(int keyCode);

// A monitor of every key event that reaches any window of the program. While
// it exists it takes those events, so no window, field, menu or shortcut sees
// them; once it is destroyed they pass as before.
class KeyEventMonitor {
  public:
    virtual ~KeyEventMonitor() = default;
};

// Installs a monitor that hands each event to the handler.
using KeyEventMonitorFactory =
    std::function<std::unique_ptr<KeyEventMonitor>(std::function<void(const MonitoredKeyEvent&)> handler)>;

} // namespace rondelix
