#pragma once

#include "platform/InputAccess.h"
#include "platform/Permissions.h"

namespace rondelix::platform::linux_desktop {

// Under X11 the answer is known at once: the program can reach global input
// or it cannot. No desktop here leaves it undetermined.
class PermissionsInputAccess final : public InputAccess {
  public:
    explicit PermissionsInputAccess(Permissions& permissions) : permissions_(permissions) {}
    State listenAccess() const override {
        return permissions_.canListenToInput() ? State::granted : State::denied;
    }

  private:
    Permissions& permissions_;
};

} // namespace rondelix::platform::linux_desktop
