#include "overlay/SliceDrag.h"

#include <cmath>

namespace rondelix {

namespace {
double length(Point p) {
    return std::hypot(p.x, p.y);
}
} // namespace

bool SliceDrag::hasMovedFar() const {
    return length(translation) > threshold;
}

std::optional<int> highlightedSlot(std::optional<int> aimed, const SliceDrag& drag,
                                   std::optional<int> hovered) {
    if (aimed) return aimed;
    if (drag.target) return drag.target;
    return hovered;
}

std::optional<int> draggingSource(const SliceDrag& drag) {
    return drag.hasMovedFar() ? drag.source : std::nullopt;
}

void SliceGesture::changed(SliceDrag& drag, Point translation, Point location) const {
    if (!swapEnabled || !slotFilled) return;
    drag.source = position;
    drag.translation = translation;
    if (drag.hasMovedFar()) drag.target = wedgeAt(location, side, count);
}

SliceGesture::Outcome SliceGesture::ended(Point translation, Point location) const {
    Outcome outcome;
    if (swapEnabled && slotFilled && length(translation) > SliceDrag::threshold) {
        outcome.dropped = true;
        const auto target = wedgeAt(location, side, count);
        if (target && *target != position) outcome.swap = std::make_pair(position, *target);
        return outcome;
    }
    outcome.tap = position;
    return outcome;
}

} // namespace rondelix
