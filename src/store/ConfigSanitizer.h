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

} // namespace rondelix
