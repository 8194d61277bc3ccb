#pragma once

#include "platform/KeyboardLayout.h"

#include <map>

namespace rondelix::platform::sim {

// A US layout that never changes unless a test sets what a key types.
class SimKeyboardLayout final : public KeyboardLayout {
  public:
    SimKeyboardLayout();

    std::optional<std::string> typedText(int keyCode) const override;
    // Looks the key symbol up in the table setKeysym fills; the scan code is
    // not used.
    std::optional<int> keyCodeOfPress(std::uint32_t nativeScanCode,
                                      std::uint32_t nativeKeysym) const override;
    void setKeysym(std::uint32_t keysym, int keyCode);

    // Makes the key type this text, or nothing at all.
    void setTypedText(int keyCode, std::optional<std::string> text);

  private:
    std::map<int, std::optional<std::string>> typed_;
    std::map<std::uint32_t, int> keysyms_;
};

} // namespace rondelix::platform::sim
