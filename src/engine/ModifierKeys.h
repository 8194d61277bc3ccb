#pragma once

#include "engine/KeyCodeSet.h"

#include <cstdint>

namespace rondelix::modifiers {

// Brings the held modifier codes in line with an event's flags. A group whose
// flag is set but whose side flags are all missing is left as it was: the
// event says the group is down without saying which key.
void updateHeld(KeyCodeSet& held, std::uint64_t flags);

} // namespace rondelix::modifiers
