#pragma once

#include "platform/HomeFolder.h"

namespace rondelix::platform::linux_desktop {

// $HOME, or the home folder the password database gives when it is unset.
class UserHomeFolder final : public HomeFolder {
  public:
    std::filesystem::path path() const override;
};

} // namespace rondelix::platform::linux_desktop
