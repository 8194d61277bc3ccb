#pragma once

#include <cstdint>
#include <functional>
#include <vector>

namespace rondelix {

// One falling piece of the hundredth-wheel confetti. It waits `delay`
// seconds above the top edge, then falls to below the bottom edge over
// `duration` seconds on an ease-in curve, spinning to `spin` degrees and
// fading out on the way.
struct ConfettiPiece {
    static constexpr int count = 120;
    static constexpr int colorCount = 7;
    // How far above and below the area a piece starts and ends.
    static constexpr double overshoot = 60;
    static constexpr double heightRatio = 1.6;
    static constexpr double cornerRadius = 2;

    double x = 0;        // 0 … 1 of the width
    int colorIndex = 0;  // red, orange, yellow, green, blue, purple, pink
    double size = 6;     // width in points, 6 … 12
    double delay = 0;    // 0 … 0.7 s
    double duration = 2; // 1.6 … 3.0 s
    double spin = 0;     // −540 … 540 degrees

    // Where and how the piece shows `elapsed` seconds after the view appeared.
    struct Frame {
        double centerX = 0;
        double centerY = 0;
        double rotation = 0;
        double opacity = 1;
    };
    Frame frameAt(double elapsed, double width, double height) const;

    // A fresh set; `uniform(lo, hi)` draws from the closed range.
    static std::vector<ConfettiPiece> scatter(const std::function<double(double lo, double hi)>& uniform);
    // The time by which every piece of the set has left and faded.
    static double settleTime(const std::vector<ConfettiPiece>& pieces);
};

// The standard ease-in timing curve (cubic Bézier 0.42, 0, 1, 1) at a
// fraction of the time.
double easeIn(double t);

} // namespace rondelix
