#pragma once

#include "overlay/FittedText.h"
#include "overlay/WheelGeometry.h"

#include <optional>
#include <vector>

namespace rondelix {

// A box in the drawn square, origin top left, y growing downward.
struct Box {
    double left = 0;
    double top = 0;
    double right = 0;
    double bottom = 0;
};

// One slot's sector of the ring, kept `inset` points clear of its dividers,
// the rim and the hub: what a slice's icon and label stay inside.
struct SlotArea {
    WheelGeometry geometry;
    int position = 0;
    int count = 0;
    double inset = 2;

    bool contains(const Box& box) const;
    // Half the width of the widest box centred on x between top and bottom
    // that the area contains; 0 when there is none.
    double halfWidthAt(double x, double top, double bottom) const;
};

// A slice's icon over its label, centred on its slot's point and drawn at
// most `scale` times its size (the aimed slot grows).
struct SlotStack {
    SlotArea area;
    double iconHeight = 0;
    // Between the icon and the label, when both are drawn.
    double spacing = 0;
    double scale = 1;

    // The box each label line takes in the drawn square at `scale`.
    std::vector<Box> lineBoxes(const std::vector<double>& widths, double lineHeight) const;
    TextRoom labelRoom() const;
};

// The hub's stack: the wheel switcher's capsule (when shown) over the name's
// capsule, centred on the hub's point; both capsules stay inside the hub,
// `inset` points clear of the ring.
struct HubStack {
    WheelGeometry geometry;
    // 0 when no switcher is shown.
    double switcherHeight = 0;
    double inset = 2;

    static constexpr double spacing = 6;
    static constexpr double namePaddingX = 10;
    static constexpr double namePaddingY = 4;

    // The name's capsule holding lines this wide.
    Box nameCapsule(const std::vector<double>& widths, double lineHeight) const;
    // The switcher's capsule, this wide, above a name's capsule this tall.
    Box switcherCapsule(double width, double nameHeight) const;
    // Whether a capsule (a box with fully rounded ends) lies inside the hub.
    bool holds(const Box& capsule) const;
    // Room for the name; with a switcher's width, room that leaves the
    // switcher's capsule inside the hub too.
    TextRoom nameRoom(std::optional<double> switcherWidth = std::nullopt) const;
};

} // namespace rondelix
