#pragma once

namespace rondelix {

// The sound and haptic answers the summon engine asks for.
class SummonFeedback {
  public:
    virtual ~SummonFeedback() = default;
    // Every change of the aim and every wheel switch.
    virtual void aim() = 0;
    // A slice about to run.
    virtual void fire() = 0;
};

} // namespace rondelix
