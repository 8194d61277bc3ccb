#pragma once

#include <optional>
#include <set>
#include <string>
#include <string_view>

namespace rondelix {

// The member names of a JSON text's top-level object: enough to tell a
// shared wheel from a configuration before decoding either.
struct TopLevelKeys {
    std::set<std::string> keys;

    bool contains(const std::string& key) const { return keys.count(key) > 0; }

    // None when the text is not JSON or its top level is not an object.
    static std::optional<TopLevelKeys> read(std::string_view bytes);
};

} // namespace rondelix
