#pragma once

#include <filesystem>

namespace rondelix::platform {

// The current user's home folder, under which the configuration lives.
// Tests hand out a temporary folder instead.
class HomeFolder {
  public:
    virtual ~HomeFolder() = default;
    virtual std::filesystem::path path() const = 0;
};

} // namespace rondelix::platform
