#include "editor/SliceEdits.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <set>

namespace rondelix {

std::optional<int> firstEmptyPosition(const Wheel& wheel) {
    std::set<int> taken;
    for (const Slice& slice : wheel.slices)
        taken.insert(slice.position);
    for (int p = 0; p < wheel.sliceCount; ++p)
        if (taken.count(p) == 0) return p;
    return std::nullopt;
}

std::string positionName(int position, int sliceCount) {
    static const std::array<const char*, 8> names{"Top",    "Top-Right",   "Right", "Bottom-Right",
                                                  "Bottom", "Bottom-Left", "Left",  "Top-Left"};
    if (sliceCount < 1) return "Position " + std::to_string(position + 1);
    // std::round takes halves away from zero.
    const double octant = std::round(static_cast<double>(position) * 360.0 / sliceCount / 45.0);
    const long index = static_cast<long>(octant) % 8;
    return names[static_cast<std::size_t>(index < 0 ? index + 8 : index)];
}

const Slice* sliceAt(const Wheel& wheel, int position) {
    const auto found = std::find_if(wheel.slices.begin(), wheel.slices.end(),
                                    [&](const Slice& s) { return s.position == position; });
    return found == wheel.slices.end() ? nullptr : &*found;
}

Slice blankSlice(int position) {
    return Slice{Uuid::generate(), position, "", Icon{Icon::Auto{}}, MacroAction{MacroAction::Text{""}}};
}

Slice newActionSlice(int position) {
    return Slice{Uuid::generate(), position, "New Action", Icon{Icon::SfSymbol{"star.fill"}},
                 MacroAction{MacroAction::Text{""}}};
}

void writeSlice(Wheel& wheel, const Slice& slice) {
    for (Slice& existing : wheel.slices) {
        if (existing.position == slice.position) {
            existing = slice;
            return;
        }
    }
    wheel.slices.push_back(slice);
}

bool addSliceIfEmpty(Wheel& wheel, Slice slice) {
    if (sliceAt(wheel, slice.position)) return false;
    wheel.slices.push_back(std::move(slice));
    return true;
}

void removeSlicesAt(Wheel& wheel, int position) {
    std::erase_if(wheel.slices, [&](const Slice& s) { return s.position == position; });
}

Slice copiedTo(const Slice& slice, int position) {
    Slice copy = slice;
    copy.id = Uuid::generate();
    copy.position = position;
    return copy;
}

int slicesBeyond(const Wheel& wheel, int sliceCount) {
    return static_cast<int>(std::count_if(wheel.slices.begin(), wheel.slices.end(),
                                          [&](const Slice& s) { return s.position >= sliceCount; }));
}

void setSliceCount(Wheel& wheel, int sliceCount) {
    wheel.sliceCount = sliceCount;
    std::erase_if(wheel.slices, [&](const Slice& s) { return s.position >= sliceCount; });
}

SwapOutcome swapSlices(Wheel& wheel, int from, int to) {
    if (from == to) return {};
    Slice* a = nullptr;
    Slice* b = nullptr;
    for (Slice& slice : wheel.slices) {
        if (!a && slice.position == from) a = &slice;
        if (!b && slice.position == to) b = &slice;
    }
    if (!a) return {};
    a->position = to;
    if (b) b->position = from;
    return {true, b != nullptr};
}

} // namespace rondelix
