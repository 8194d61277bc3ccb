#pragma once

#include "model/Config.h"

#include <cstdint>
#include <gtest/gtest.h>

namespace rondelix {

// A configuration with the kinds of damage a hand-edited, old or hostile file
// brings (empty, repeated and recovered ids, impossible slots and key codes,
// numbers far out of range), drawn reproducibly from `seed`.
Config damagedConfig(std::uint32_t seed);

// Succeeds when the configuration keeps every promise sanitizing makes.
::testing::AssertionResult keepsSanitizedPromises(const Config& config);

} // namespace rondelix
