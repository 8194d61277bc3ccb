#pragma once

#include "model/Config.h"

#include <string>

namespace rondelix::testing {

// The factory configuration with `count` copies of `wheel` after its wheels,
// each copy with ids of its own.
Config withCopies(const Wheel& wheel, int count);

// The JSON text without the spaces and line breaks between its tokens, as
// another program may write a configuration: about half the size of the
// indented file the program writes.
std::string compacted(const std::string& json);

} // namespace rondelix::testing
