#include "store/TopLevelKeys.h"

#include <nlohmann/json.hpp>

namespace rondelix {

std::optional<TopLevelKeys> TopLevelKeys::decode(const nlohmann::json& document) {
    if (!document.is_object()) return std::nullopt;
    TopLevelKeys probe;
    for (const auto& member : document.items())
        probe.keys.insert(member.key());
    return probe;
}

} // namespace rondelix
