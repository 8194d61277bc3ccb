#pragma once

#include <optional>
#include <string>

namespace rondelix::platform {

// The keyboard layout the user types with right now.
class KeyboardLayout {
  public:
    virtual ~KeyboardLayout() = default;

    // What the key at this position (one of the system's own key codes) types
    // on the current layout with no modifier held, as UTF-8; nothing when the
    // layout has no such key or the key types nothing.
    virtual std::optional<std::string> typedText(int keyCode) const = 0;
};

} // namespace rondelix::platform
