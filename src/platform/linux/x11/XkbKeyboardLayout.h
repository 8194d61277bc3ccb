#pragma once

#include "platform/KeyboardLayout.h"
#include "platform/Log.h"

#include <memory>

namespace rondelix::platform::linux_desktop {

// The layout of the X server's core keyboard, read through XKB each time a
// key is asked for, so a layout switched a moment ago is the one used. Needs
// the application to run on X11; elsewhere no key types anything, and that is
// logged once.
class XkbKeyboardLayout final : public KeyboardLayout {
  public:
    explicit XkbKeyboardLayout(Log& log);
    ~XkbKeyboardLayout() override;

    std::optional<std::string> typedText(int keyCode) const override;
    std::optional<int> keyCodeForNativeKey(std::uint32_t nativeCode,
                                           std::uint32_t nativeSymbol) const override;

  private:
    struct Connection;
    std::unique_ptr<Connection> connection_;
};

} // namespace rondelix::platform::linux_desktop
