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

// $HOME, or the home folder the password database gives when it is unset, or
// the working folder when neither is known. Code that has no HomeFolder at
// hand uses this, so that it agrees with the desktop's.
std::filesystem::path userHomeFolder();

} // namespace rondelix::platform
