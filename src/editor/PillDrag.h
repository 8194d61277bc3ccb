#pragma once

#include "platform/Geometry.h"

#include <map>
#include <optional>
#include <string>

namespace rondelix {

// The press or drag on a wheel pill, in the pill column's coordinates; the
// resting value (no id) means no gesture runs.
struct PillDrag {
    // A press that moves this far or less is a click.
    static constexpr double clickSlop = 6.0;

    std::optional<std::string> id;
    platform::Size translation;
    platform::Point location;

    friend bool operator==(const PillDrag&, const PillDrag&) = default;
};

using PillFrames = std::map<std::string, platform::Rect>;

// Adds the frames one pill reported; a later frame for an id replaces the earlier.
void mergePillFrames(PillFrames& into, const PillFrames& next);

// The pill being dragged: pressed and moved more than the click slop.
std::optional<std::string> draggingPillId(const PillDrag& drag);

// The pill whose frame holds the point.
std::optional<std::string> pillId(platform::Point point, const PillFrames& frames);

// The other pill under the pointer while a pill is dragged.
std::optional<std::string> pillDropTargetId(const PillDrag& drag, const PillFrames& framesAtPress);

// What the end of a pill's gesture asks for.
struct PillGestureEnd {
    enum class Kind { select, move, nothing };
    Kind kind = Kind::nothing;
    std::string wheelId;
    std::string targetId;

    friend bool operator==(const PillGestureEnd&, const PillGestureEnd&) = default;
};
PillGestureEnd endPillGesture(const PillDrag& drag, const PillFrames& framesAtPress);

} // namespace rondelix
