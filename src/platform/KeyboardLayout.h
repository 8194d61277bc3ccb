#pragma once

#include <cstdint>
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

    // The system's key code of a key press that reached the program's own
    // windows, from the press's native scan code and key symbol; nothing
    // when the key table lacks the key.
    virtual std::optional<int> keyCodeOfPress(std::uint32_t nativeScanCode,
                                              std::uint32_t nativeKeysym) const = 0;
};

} // namespace rondelix::platform
