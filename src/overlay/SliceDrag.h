#pragma once

#include "overlay/WheelGeometry.h"

#include <optional>
#include <utility>

namespace rondelix {

// A slot drag in progress in the wheel graphic. It returns to its reset
// value (all empty) when the gesture ends.
struct SliceDrag {
    // A pointer movement is a drag only past this many points.
    static constexpr double threshold = 6;

    std::optional<int> source;
    std::optional<int> target;
    Point translation;

    bool hasMovedFar() const;
    friend bool operator==(const SliceDrag&, const SliceDrag&) = default;
};

// The slot drawn highlighted: the aim wins, then the drop target, then hover.
std::optional<int> highlightedSlot(std::optional<int> aimed, const SliceDrag& drag,
                                   std::optional<int> hovered);
// The slot being dragged away, once the drag has gone past the threshold.
std::optional<int> draggingSource(const SliceDrag& drag);

// What the wheel needs to know about a slot gesture.
struct SliceGesture {
    int position = 0;
    bool slotFilled = false;
    bool swapEnabled = false;
    double side = 0;
    int count = 0;

    // Follows the pointer; an empty slot, or a host without swapping, leaves
    // the drag untouched.
    void changed(SliceDrag& drag, Point translation, Point location) const;

    struct Outcome {
        std::optional<int> tap;
        std::optional<std::pair<int, int>> swap;
        // A drop clears the hover at once.
        bool dropped = false;
    };
    Outcome ended(Point translation, Point location) const;
};

} // namespace rondelix
