#pragma once

#include <functional>
#include <optional>

namespace rondelix {

// A value fading from one end to the other over a time along an easing curve
// (progress 0 to 1 onto 0 to 1, rising), shown in equal steps: each step when
// the curve reaches it, at most one a frame. A slow fade then changes what is
// on screen a few times a second instead of at every frame.
class SteppedFade {
  public:
    static constexpr double frameSeconds = 1.0 / 60;

    // `stepsPerUnit` steps for a fade across the whole range from 0 to 1;
    // a shorter one takes proportionally fewer, at least one.
    SteppedFade(double from, double to, double seconds, std::function<double(double)> curve,
                int stepsPerUnit);

    // What is shown this long after the start: `from` at the start, `to`
    // from the end on.
    double valueAt(double seconds) const;

    // When after `seconds` the shown value next changes; nothing once it
    // shows `to`.
    std::optional<double> nextChangeAfter(double seconds) const;

  private:
    int stepAt(double seconds) const;

    double from_;
    double to_;
    double seconds_;
    std::function<double(double)> curve_;
    int steps_;
};

} // namespace rondelix
