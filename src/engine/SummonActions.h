#pragma once

#include "model/MacroAction.h"

namespace rondelix {

// What the summon engine asks of the action executor: carry out the fired
// slice's action. Failures are the executor's to report, never the caller's.
class SummonActions {
  public:
    virtual ~SummonActions() = default;
    virtual void fire(const MacroAction& action) = 0;
};

} // namespace rondelix
