#pragma once

#include "platform/LoginItems.h"

#include <filesystem>

namespace rondelix::platform {
class HomeFolder;
}

namespace rondelix::platform::linux_desktop {

// Starting at login through an XDG autostart entry, "rondelix.desktop" in the
// user's autostart folder. Desktops honour the entry unless it is hidden.
class AutostartLoginItems final : public LoginItems {
  public:
    AutostartLoginItems(std::filesystem::path autostartFolder, std::filesystem::path program);

    // $XDG_CONFIG_HOME/autostart, else ~/.config/autostart.
    static std::filesystem::path defaultFolder(const HomeFolder& home);

    Status status() const override;
    Result<> setRegistered(bool registered) override;

    const std::filesystem::path& entryPath() const { return entry_; }

  private:
    std::filesystem::path entry_;
    std::filesystem::path program_;
};

} // namespace rondelix::platform::linux_desktop
