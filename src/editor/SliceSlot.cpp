#include "editor/SliceSlot.h"

#include "editor/SliceEdits.h"
#include "editor/WheelListEdits.h"
#include "store/ConfigStore.h"

namespace rondelix {

Slice SliceSlot::read(const ConfigStore& store) const {
    if (const Wheel* wheel = findWheel(store.config().wheels, wheelId))
        if (const Slice* slice = sliceAt(*wheel, position)) return *slice;
    return blankSlice(position);
}

void SliceSlot::write(ConfigStore& store, const Slice& slice) const {
    Slice placed = slice;
    placed.position = position;
    store.editWheel(wheelId, coalesceKey(), [&](Wheel& wheel) { writeSlice(wheel, placed); });
}

std::string SliceSlot::coalesceKey() const {
    return "slice:" + wheelId + ":" + std::to_string(position);
}

} // namespace rondelix
