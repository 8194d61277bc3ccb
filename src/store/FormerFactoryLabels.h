#pragma once

#include "model/Config.h"

namespace rondelix {

// The factory and the slice form once labelled the slices that run a
// required automation with that automation's former name, another system's
// word ("Toggle Focus", "Toggle Night Shift"). A slice whose label is
// exactly such a name and whose action runs that automation takes the
// automation's name of today; every other label, the user's own, stays.
// Applied to what is read from a file, so the file changes only with the
// next save.
void renameFormerFactoryLabels(Config& config);
void renameFormerFactoryLabels(Wheel& wheel);

} // namespace rondelix
