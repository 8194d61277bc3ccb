#include "platform/linux/LinuxAccessibility.h"

namespace rondelix::platform::linux_desktop {

std::unique_ptr<AccessibleElement> LinuxAccessibility::focusedElement() {
    if (!logged_) {
        logged_ = true;
        log_.write("the text caret cannot be found on this desktop; the wheel opens at the pointer.");
    }
    return nullptr;
}

} // namespace rondelix::platform::linux_desktop
