#pragma once

namespace rondelix {

// How the overlay opens: a short spring from 85 % scale with a fade, or only
// a quicker fade when the user asked for reduced motion. The view plays it;
// the numbers live here so every view opens the same way.
struct OpenAnimation {
    static constexpr double startScale = 0.85;
    static constexpr double springMass = 1;
    static constexpr double springStiffness = 320;
    static constexpr double springDamping = 22;

    bool reduceMotion = false;

    bool scales() const { return !reduceMotion; }
    double fadeDuration() const { return reduceMotion ? 0.12 : 0.16; }
    // Time until the spring has come to rest within a thousandth of its travel.
    double scaleDuration() const;
    // The scale t seconds after the start; 1 once the spring has settled.
    double scaleAt(double t) const;
};

} // namespace rondelix
