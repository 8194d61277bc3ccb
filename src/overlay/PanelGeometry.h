#pragma once

#include "platform/Geometry.h"

#include <algorithm>

namespace rondelix {

// The overlay panel is a square around the wheel's disc; the margin leaves
// room for the glow the wheel graphic draws past the rim. Content coordinates
// have their origin at the panel's bottom left.
struct PanelGeometry {
    double diameter = 0;

    double margin() const { return 0.15 * diameter + 50; }
    double side() const { return diameter + 2 * margin(); }
    platform::Rect disc() const { return {margin(), margin(), diameter, diameter}; }
    // The test-mode handle sits just above the disc, near its left side.
    platform::Rect dragHandle() const {
        return {margin() + 0.02 * diameter, std::min(side() - 28, diameter + margin() + 22), 120, 26};
    }
};

} // namespace rondelix
