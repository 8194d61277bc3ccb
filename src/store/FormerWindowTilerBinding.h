#pragma once

#include "model/Config.h"

namespace rondelix {

// The gallery once bound its window wheel to another system's window tiler,
// which no Linux desktop has, so the wheel showed that program's identifier
// and came up for no application. A wheel bound to one of that tiler's
// identifiers follows no application again; every other binding stays.
// Applied to what is read from a file, so the file changes only with the next
// save.
void unbindFormerWindowTiler(Config& config);

} // namespace rondelix
