#pragma once

#include <nlohmann/json_fwd.hpp>
#include <optional>
#include <set>
#include <string>

namespace rondelix {

// The member names of a JSON document's top-level object: enough to tell a
// shared wheel from a configuration before decoding either.
struct TopLevelKeys {
    std::set<std::string> keys;

    bool contains(const std::string& key) const { return keys.count(key) > 0; }

    // None when the top level is not an object.
    static std::optional<TopLevelKeys> decode(const nlohmann::json& document);
};

} // namespace rondelix
