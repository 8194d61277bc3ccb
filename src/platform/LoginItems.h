#pragma once

#include "util/Result.h"

namespace rondelix::platform {

// The system's registration of the program as something to start at login.
class LoginItems {
  public:
    enum class Status { enabled, requiresApproval, notRegistered, notFound };

    virtual ~LoginItems() = default;

    virtual Status status() const = 0;

    // Registers (true) or unregisters (false) the program. A failure carries
    // the system's description of it.
    virtual Result<> setRegistered(bool registered) = 0;
};

// Whether a status counts as starting at login.
inline bool startsAtLogin(LoginItems::Status status) {
    return status == LoginItems::Status::enabled || status == LoginItems::Status::requiresApproval;
}

} // namespace rondelix::platform
