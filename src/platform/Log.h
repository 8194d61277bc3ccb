#pragma once

#include <string_view>

namespace rondelix::platform {

// One line to the system log. Implementations prefix every line with
// "Rondelix: ", so callers pass the message alone.
class Log {
  public:
    static constexpr std::string_view prefix = "Rondelix: ";

    virtual ~Log() = default;
    virtual void write(std::string_view message) = 0;
};

} // namespace rondelix::platform
