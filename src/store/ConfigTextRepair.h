#pragma once

#include "model/Config.h"

#include <vector>

namespace rondelix {

// Text that is not well-formed UTF-8 cannot reach a file as it is: the file
// would hold replacement characters where memory holds the raw bytes, and
// reading our own save back would look like someone else's change. The store
// repairs every text once, where it enters, so that what it holds is exactly
// what it writes.
void repairText(Config& config);
void repairText(std::vector<Wheel>& wheels);
void repairText(Wheel& wheel);

} // namespace rondelix
