#pragma once

#include "model/Config.h"
#include "store/SharedWheel.h"

#include <optional>
#include <set>
#include <string>
#include <string_view>

namespace rondelix::testing {

// The files as they were read before the program read them as a stream:
// parsed into a whole JSON document first, then decoded from the tree. The
// reference the streaming decoder must match record for record.
std::optional<Config> treeDecodeConfig(std::string_view bytes);
std::optional<SharedWheel> treeDecodeSharedWheel(std::string_view bytes);
// The member names of the top-level object.
std::optional<std::set<std::string>> treeTopLevelKeys(std::string_view bytes);

} // namespace rondelix::testing
