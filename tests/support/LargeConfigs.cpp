#include "support/LargeConfigs.h"

#include "model/DefaultConfig.h"

namespace rondelix::testing {

Config withCopies(const Wheel& wheel, int count) {
    Config config = DefaultConfig::factoryConfig();
    config.wheels.reserve(config.wheels.size() + static_cast<std::size_t>(count));
    for (int copy = 0; copy < count; ++copy) {
        Wheel added = wheel;
        added.id = "copy-" + std::to_string(copy);
        for (Slice& slice : added.slices)
            slice.id = Uuid::generate();
        config.wheels.push_back(std::move(added));
    }
    return config;
}

std::vector<LargeConfiguration> largeConfigurations() {
    Wheel twoSlices = DefaultConfig::essentialsWheel();
    twoSlices.slices.resize(2);
    return {{"16,004 wheels of the Essentials' size", DefaultConfig::essentialsWheel(), 16004},
            {"100,000 two-slice wheels", twoSlices, 100000}};
}

std::string compacted(const std::string& json) {
    std::string out;
    out.reserve(json.size() / 2);
    bool inString = false, escaped = false;
    for (const char c : json) {
        if (escaped) {
            escaped = false;
        } else if (inString) {
            escaped = c == '\\';
            inString = c != '"';
        } else if (c == ' ' || c == '\n') {
            continue;
        } else {
            inString = c == '"';
        }
        out += c;
    }
    return out;
}

} // namespace rondelix::testing
