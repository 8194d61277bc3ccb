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

    // The system's key code of a key event as the window system numbered it
    // (on X11 the X key code, and the keysym it typed); nothing for a key no
    // table knows. Tells left from right modifiers and names keys the toolkit
    // does not.
    virtual std::optional<int> keyCodeForNativeKey(std::uint32_t nativeCode,
                                                   std::uint32_t nativeSymbol) const = 0;
};

} // namespace rondelix::platform
