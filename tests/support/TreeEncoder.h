#pragma once

#include "model/Config.h"

#include <nlohmann/json.hpp>

namespace rondelix::testing {

// The configuration records as JSON trees, the way the files were written
// before the program wrote them as a stream: the reference its writer must
// match byte for byte.
nlohmann::json encode(const Config& config);
nlohmann::json encode(const SummonBinding& binding);
nlohmann::json encode(const Behavior& behavior);
nlohmann::json encode(const General& general);
nlohmann::json encode(const Wheel& wheel);
nlohmann::json encode(const Slice& slice);
nlohmann::json encode(const Icon& icon);
nlohmann::json encode(const MacroAction& action);
nlohmann::json encode(const KeyCombo& combo);

// A whole configuration file as the reference lays it out.
std::string referenceFileBytes(const Config& config);

} // namespace rondelix::testing
