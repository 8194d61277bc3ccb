#pragma once

#include "model/Config.h"

#include <functional>
#include <optional>
#include <string_view>

namespace rondelix {

// What the summon engine reads and writes of the configuration store; the
// members are the store's own, so the store can stand behind it as it is.
class SummonConfig {
  public:
    virtual ~SummonConfig() = default;

    virtual const Config& config() const = 0;
    // The first wheel with this id, or nothing.
    virtual std::optional<Wheel> wheel(std::string_view id) const = 0;
    // The wheel shown when the asked-for one is missing.
    virtual Wheel activeWheel() const = 0;
    // A saved change without an undo step.
    virtual void mutate(const std::function<void(Config&)>& change) = 0;
};

} // namespace rondelix
