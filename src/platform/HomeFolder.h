#pragma once

#include <filesystem>

namespace rondelix::platform {

// The current user's home folder, under which the configuration lives.
// Tests hand out a temporary folder instead.
class HomeFolder {
  public:
    virtual ~HomeFolder() = default;
    virtual std::filesystem::path path() const = 0;
    // The folder the program keeps its configuration in; tests keep it at
    // .config/rondelix in their own home folder whatever the environment says.
    virtual std::filesystem::path configFolder() const { return path() / ".config" / "rondelix"; }
};

} // namespace rondelix::platform
