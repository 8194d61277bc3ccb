#pragma once

#include "model/Config.h"

#include <string>
#include <string_view>
#include <vector>

namespace rondelix {

// The changes the editor makes to the wheel list as a whole. Each works on a
// list handed to it, so a store edit can run it on whatever the list is by
// then; a wheel id that is no longer there changes nothing.

// The wheel Add Wheel appends: "wheel-<n>" from the count plus one upwards
// until free, named "Wheel <count + 1>", 8 empty slots.
Wheel newWheel(const std::vector<Wheel>& wheels);

// A copy of `source` under "<id>-copy" (then "-copy-2", ...) and "<name>
// copy" (then " copy 2", ...), with fresh slice ids and no application.
Wheel duplicateOf(const Wheel& source, const std::vector<Wheel>& wheels);

// Puts the copy right after the wheel `afterId`, or at the end when it is gone.
void insertAfter(std::vector<Wheel>& wheels, const std::string& afterId, Wheel wheel);

// Drops the dragged wheel onto the target: forward lands after it, backward
// before it. False when either is missing or both are one.
bool moveWheelOnto(std::vector<Wheel>& wheels, const std::string& draggedId, const std::string& targetId);

// Swaps the wheel with the one `offset` places away when that place exists.
void moveWheelBy(std::vector<Wheel>& wheels, const std::string& id, int offset);

// The first wheel with this id, or null.
Wheel* findWheel(std::vector<Wheel>& wheels, std::string_view id);
const Wheel* findWheel(const std::vector<Wheel>& wheels, std::string_view id);

// A name Add Wheel would have given: "Wheel " and a whole number of 1 or more,
// blanks around the number allowed.
bool isNumberedWheelName(std::string_view name);

} // namespace rondelix
