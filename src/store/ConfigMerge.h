#pragma once

#include "model/Config.h"

#include <memory>
#include <vector>

namespace rondelix {

// What a file another program wrote brings to the value the program holds,
// both measured against the value the file was last known to hold (`base`,
// with its wheels apart). Each wheel (by id) and each top-level setting
// changed only in the file comes from the file, one changed in the program
// keeps the program's, as a local edit made on top of an adopted change
// would. The last-used wheel the program chose holds while the file still
// has it. Wheels the file adds stand after the wheel they follow there;
// the program's order holds for the rest. The result is not yet sanitized.
Config mergeOutsideChange(const Config& program, const Config& file, const Config& base,
                          const std::vector<std::shared_ptr<const Wheel>>& baseWheels);

} // namespace rondelix
