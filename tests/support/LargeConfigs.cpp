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
