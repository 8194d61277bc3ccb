#pragma once

#include "model/Config.h"

#include <string>

namespace rondelix {

class ConfigStore;

// The slot the slice form edits, fixed when the form is made. The form keeps
// no copy of the slice: it reads it here and writes every change back whole,
// so undo, redo and a reload of the file show at once, and a burst of edits
// to one slot makes one undo step.
struct SliceSlot {
    std::string wheelId;
    int position = 0;

    // The slice in the slot, or a blank one when the slot is empty or the
    // wheel is gone.
    Slice read(const ConfigStore& store) const;
    // Replaces the slot's slice, or puts one there; nothing when the wheel is gone.
    void write(ConfigStore& store, const Slice& slice) const;
    std::string coalesceKey() const;
};

} // namespace rondelix
