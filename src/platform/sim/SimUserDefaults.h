#pragma once

#include "platform/UserDefaults.h"

#include <map>

namespace rondelix::platform::sim {

// User defaults in memory; survives a simulated relaunch when the test keeps
// the object and builds the program again around it.
class SimUserDefaults final : public UserDefaults {
  public:
    std::optional<nlohmann::json> stored(std::string_view key) const override {
        const auto it = values_.find(key);
        if (it == values_.end()) return std::nullopt;
        return it->second;
    }
    void store(std::string_view key, nlohmann::json value) override {
        values_[std::string(key)] = std::move(value);
    }
    void erase(std::string_view key) override {
        if (const auto it = values_.find(key); it != values_.end()) values_.erase(it);
    }

    const std::map<std::string, nlohmann::json, std::less<>>& values() const { return values_; }

  private:
    std::map<std::string, nlohmann::json, std::less<>> values_;
};

} // namespace rondelix::platform::sim
