#pragma once

#include "model/Config.h"

#include <string>
#include <vector>

namespace rondelix::testing {

// The factory configuration with `count` copies of `wheel` after its wheels,
// each copy with ids of its own.
Config withCopies(const Wheel& wheel, int count);

// Configurations whose indented file is larger than the 64 MiB the program
// once read: 16,004 wheels of the factory Essentials' size, and 100,000
// wheels of two of its slices.
struct LargeConfiguration {
    const char* name;
    Wheel wheel; // copied `count` times after the factory wheels
    int count;
};
std::vector<LargeConfiguration> largeConfigurations();

// The JSON text without the spaces and line breaks between its tokens, as
// another program may write a configuration: about half the size of the
// indented file the program writes.
std::string compacted(const std::string& json);

} // namespace rondelix::testing
