#include "editor/ConfettiPiece.h"

#include <algorithm>
#include <cmath>

namespace rondelix {

double easeIn(double t) {
    t = std::clamp(t, 0.0, 1.0);
    // x(s) = 3(1-s)²s·0.42 + 3(1-s)s² + s³, y(s) = 3(1-s)s² + s³: find s for
    // x = t by bisection (x is increasing), then take y.
    const auto bezier = [](double s, double p1, double p2) {
        const double u = 1 - s;
        return 3 * u * u * s * p1 + 3 * u * s * s * p2 + s * s * s;
    };
    double lo = 0, hi = 1;
    for (int i = 0; i < 40; ++i) {
        const double mid = (lo + hi) / 2;
        (bezier(mid, 0.42, 1.0) < t ? lo : hi) = mid;
    }
    return bezier((lo + hi) / 2, 0.0, 1.0);
}

ConfettiPiece::Frame ConfettiPiece::frameAt(double elapsed, double width, double height) const {
    const double progress = duration > 0 ? easeIn((elapsed - delay) / duration) : (elapsed >= delay ? 1 : 0);
    Frame frame;
    frame.centerX = width * x;
    frame.centerY = -overshoot + progress * (height + 2 * overshoot);
    frame.rotation = spin * progress;
    frame.opacity = 1 - progress;
    return frame;
}

std::vector<ConfettiPiece> ConfettiPiece::scatter(const std::function<double(double, double)>& uniform) {
    std::vector<ConfettiPiece> pieces(count);
    for (ConfettiPiece& piece : pieces) {
        piece.x = uniform(0, 1);
        piece.colorIndex = std::min(colorCount - 1, static_cast<int>(uniform(0, colorCount)));
        piece.size = uniform(6, 12);
        piece.delay = uniform(0, 0.7);
        piece.duration = uniform(1.6, 3.0);
        piece.spin = uniform(-540, 540);
    }
    return pieces;
}

double ConfettiPiece::settleTime(const std::vector<ConfettiPiece>& pieces) {
    double latest = 0;
    for (const ConfettiPiece& piece : pieces)
        latest = std::max(latest, piece.delay + piece.duration);
    return latest;
}

} // namespace rondelix
