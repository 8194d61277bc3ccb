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
    // The rim travels with the scale: the spring stops once it would move
    // the rim of a wheel this wide by less than half a pixel.
    double wheelDiameter = 0;

    bool scales() const { return !reduceMotion; }
    double fadeDuration() const { return reduceMotion ? 0.12 : 0.16; }
    // Time until the spring moves the rim by less than half a pixel.
    double scaleDuration() const;
    // The scale t seconds after the start; 1 once the spring has settled.
    double scaleAt(double t) const;
    // Whether going from one scale to the other moves the rim by half a pixel
    // or more, the least the spring shows.
    bool movesRim(double from, double to) const;
};

} // namespace rondelix
