#pragma once

namespace rondelix {

// One slot's outline: a sector of the ring between the hub and the rim,
// spanning one n-th of the turn. Angles are radians with y growing downward,
// so they turn clockwise on screen; slot 0 is centred straight up.
// Neighbouring sectors share their radial edges: the gap a person sees is the
// outline stroke.
struct SliceShape {
    int position = 0;
    int count = 0;
    double innerRadius = 0;
    double outerRadius = 0;

    // A wheel without slots has no sectors to draw.
    bool isDrawable() const { return count >= 1; }
    double step() const;
    double midAngle() const;
    double startAngle() const { return midAngle() - step() / 2; }
    double endAngle() const { return midAngle() + step() / 2; }

    friend bool operator==(const SliceShape&, const SliceShape&) = default;
};

} // namespace rondelix
