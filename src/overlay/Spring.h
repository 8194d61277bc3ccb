#pragma once

namespace rondelix {

// A value that follows its target like a damped spring, described the way
// the wheel's drag animation is: a response (seconds for one undamped
// oscillation) and a damping fraction (1 = no overshoot). The view steps it
// with its frame clock.
class Spring {
  public:
    Spring(double response, double dampingFraction) : response_(response), damping_(dampingFraction) {}

    double value() const { return value_; }
    double target() const { return target_; }
    void setTarget(double target) { target_ = target; }
    // Puts the value at `value` at rest.
    void jumpTo(double value);
    bool isSettled() const;
    void advance(double seconds);

  private:
    double response_;
    double damping_;
    double value_ = 0;
    double target_ = 0;
    double velocity_ = 0;
};

} // namespace rondelix
