#include "editor/PillDrag.h"

#include <cmath>

namespace rondelix {

namespace {

double length(platform::Size s) {
    return std::hypot(s.width, s.height);
}

bool holds(const platform::Rect& r, platform::Point p) {
    return p.x >= r.minX() && p.x < r.maxX() && p.y >= r.minY() && p.y < r.maxY();
}

} // namespace

void mergePillFrames(PillFrames& into, const PillFrames& next) {
    for (const auto& [id, frame] : next)
        into[id] = frame;
}

std::optional<std::string> draggingPillId(const PillDrag& drag) {
    if (!drag.id || length(drag.translation) <= PillDrag::clickSlop) return std::nullopt;
    return drag.id;
}

std::optional<std::string> pillId(platform::Point point, const PillFrames& frames) {
    for (const auto& [id, frame] : frames)
        if (holds(frame, point)) return id;
    return std::nullopt;
}

std::optional<std::string> pillDropTargetId(const PillDrag& drag, const PillFrames& framesAtPress) {
    const auto dragged = draggingPillId(drag);
    if (!dragged) return std::nullopt;
    const auto under = pillId(drag.location, framesAtPress);
    if (!under || *under == *dragged) return std::nullopt;
    return under;
}

PillGestureEnd endPillGesture(const PillDrag& drag, const PillFrames& framesAtPress) {
    if (!drag.id) return {};
    if (length(drag.translation) <= PillDrag::clickSlop) return {PillGestureEnd::Kind::select, *drag.id, {}};
    const auto target = pillId(drag.location, framesAtPress);
    if (!target || *target == *drag.id) return {};
    return {PillGestureEnd::Kind::move, *drag.id, *target};
}

} // namespace rondelix
