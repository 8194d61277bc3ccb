#pragma once

#include "platform/Accessibility.h"
#include "platform/Log.h"

namespace rondelix::platform::linux_desktop {

// The desktop's accessibility bus is not wired up, so no program's caret can
// be asked for: every lookup has no answer and the wheel opens at the pointer.
// Says so once in the log, the first time it is asked.
class LinuxAccessibility final : public Accessibility {
  public:
    explicit LinuxAccessibility(Log& log) : log_(log) {}

    void setMessagingTimeout(double) override {}
    std::unique_ptr<AccessibleElement> focusedElement() override;

  private:
    Log& log_;
    bool logged_ = false;
};

} // namespace rondelix::platform::linux_desktop
