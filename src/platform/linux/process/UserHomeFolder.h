#pragma once

#include "platform/HomeFolder.h"

namespace rondelix::platform::linux_desktop {

// The home folder as `userHomeFolder()` finds it.
class UserHomeFolder final : public HomeFolder {
  public:
    std::filesystem::path path() const override;
    // As the XDG base-directory rules place it.
    std::filesystem::path configFolder() const override;
};

} // namespace rondelix::platform::linux_desktop
