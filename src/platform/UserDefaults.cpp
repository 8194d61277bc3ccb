#include "platform/UserDefaults.h"

#include <cmath>
#include <limits>

namespace rondelix::platform {

void UserDefaults::registerDefaults(const std::map<std::string, nlohmann::json>& defaults) {
    for (const auto& [key, value] : defaults)
        registered_[key] = value;
}

std::optional<nlohmann::json> UserDefaults::value(std::string_view key) const {
    if (auto found = stored(key)) return found;
    if (const auto it = registered_.find(key); it != registered_.end()) return it->second;
    return std::nullopt;
}

bool UserDefaults::get(DefaultsKey<bool> key) const {
    const auto found = value(key.name);
    if (!found) return false;
    if (found->is_boolean()) return found->get<bool>();
    if (found->is_number()) return found->get<double>() != 0.0;
    return false;
}

int UserDefaults::get(DefaultsKey<int> key) const {
    const auto found = value(key.name);
    if (!found) return 0;
    if (found->is_boolean()) return found->get<bool>() ? 1 : 0;
    // An unsigned past the signed range would wrap when read as signed.
    if (found->is_number_unsigned()) {
        const auto n = found->get<unsigned long long>();
        return n > static_cast<unsigned long long>(std::numeric_limits<int>::max()) ? 0 : static_cast<int>(n);
    }
    if (found->is_number_integer()) {
        const auto n = found->get<long long>();
        if (n < std::numeric_limits<int>::min() || n > std::numeric_limits<int>::max()) return 0;
        return static_cast<int>(n);
    }
    if (found->is_number()) {
        const double d = found->get<double>();
        if (!std::isfinite(d) || std::abs(d) > std::numeric_limits<int>::max()) return 0;
        return static_cast<int>(d);
    }
    return 0;
}

std::optional<std::string> UserDefaults::get(DefaultsKey<std::string> key) const {
    const auto found = value(key.name);
    if (!found || !found->is_string()) return std::nullopt;
    return found->get<std::string>();
}

} // namespace rondelix::platform
