#pragma once

#include "platform/InputAccess.h"

namespace rondelix::platform::sim {

class SimInputAccess final : public InputAccess {
  public:
    State listenAccess() const override { return state; }
    State state = State::granted;
};

} // namespace rondelix::platform::sim
