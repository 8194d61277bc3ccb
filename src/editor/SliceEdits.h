#pragma once

#include "model/Config.h"

#include <optional>
#include <string>

namespace rondelix {

// The slice operations of the editor on one wheel value.

// The lowest slot from 0 to sliceCount - 1 that no slice takes, or none.
std::optional<int> firstEmptyPosition(const Wheel& wheel);

// The compass name of a slot ("Top", "Bottom-Right" ...) for a wheel of
// `sliceCount` slots; neighbouring slots of large wheels can share one.
std::string positionName(int position, int sliceCount);

// The first slice at the slot, or null.
const Slice* sliceAt(const Wheel& wheel, int position);

// What the slice form shows for an empty slot and what Add Action puts there.
Slice blankSlice(int position);
Slice newActionSlice(int position);

// Replaces the first slice at the slice's slot, or adds it when the slot is empty.
void writeSlice(Wheel& wheel, const Slice& slice);

// Adds the slice when its slot is empty; false when it was taken.
bool addSliceIfEmpty(Wheel& wheel, Slice slice);

void removeSlicesAt(Wheel& wheel, int position);

// A copy with a fresh id at another slot.
Slice copiedTo(const Slice& slice, int position);

// The count of slices a new slot count would drop.
int slicesBeyond(const Wheel& wheel, int sliceCount);
// Sets the count and drops the slices beyond it.
void setSliceCount(Wheel& wheel, int sliceCount);

struct SwapOutcome {
    bool moved = false;
    // Both slots were filled and traded slices.
    bool exchanged = false;
};
// Trades the slices of two slots; a slice onto an empty slot moves there.
SwapOutcome swapSlices(Wheel& wheel, int from, int to);

} // namespace rondelix
