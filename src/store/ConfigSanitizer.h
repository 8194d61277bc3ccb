#pragma once

#include "model/Config.h"

namespace rondelix {

// Repairs any configuration into one every other part may rely on: at least
// one wheel, unique non-empty wheel ids, valid slot counts and positions,
// unique slice and binding ids, usable key codes, one working binding,
// behaviour numbers in range and a last-used wheel that exists.
// Cannot fail, reports nothing, and changes nothing on a value it already
// sanitized. Version, names, labels, icons, actions and order are left alone.
void sanitize(Config& config);

// As sanitize, for a value sanitized before in which only the wheel at
// `index` has changed since, from `before`. While the wheel keeps its id and
// its slices' ids only that wheel needs looking at, so an edit of one wheel
// costs the same however many there are. True when no other wheel changed.
bool sanitizeAfterWheelEdit(Config& config, std::size_t index, const Wheel& before);

} // namespace rondelix
