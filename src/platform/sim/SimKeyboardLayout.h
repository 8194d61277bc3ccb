#pragma once

#include "platform/KeyboardLayout.h"

#include <map>

namespace rondelix::platform::sim {

// A US layout that never changes unless a test sets what a key types.
class SimKeyboardLayout final : public KeyboardLayout {
  public:
    static constexpr std::uint32_t nativeCodeOffset = 8;

    SimKeyboardLayout();

    std::optional<std::string> typedText(int keyCode) const override;
    // The simulated window system numbers keys as X11 does: the system's key
    // code plus 8; the symbol is not used.
    std::optional<int> keyCodeForNativeKey(std::uint32_t nativeCode,
                                           std::uint32_t nativeSymbol) const override;

    // Makes the key type this text, or nothing at all.
    void setTypedText(int keyCode, std::optional<std::string> text);

  private:
    std::map<int, std::optional<std::string>> typed_;
};

} // namespace rondelix::platform::sim
