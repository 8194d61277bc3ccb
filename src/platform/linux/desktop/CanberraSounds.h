#pragma once

#include "platform/Log.h"
#include "platform/Sounds.h"

#include <memory>
#include <string>
#include <vector>

namespace rondelix::platform::linux_desktop {

// Named sounds from the program's own sound folder, the user's and the
// desktop's sound theme, played through libcanberra. No sound device (or a
// build without libcanberra) means silence, said once in the log. No haptics.
class CanberraSounds final : public Sounds {
  public:
    // The folders in lookup order: the program's own, the user's, the theme's.
    static std::vector<std::string> defaultFolders();

    CanberraSounds(Log& log, std::vector<std::string> folders = defaultFolders());
    ~CanberraSounds() override;

    void beep() override;
    bool deviceFound() override;
    std::vector<std::string> soundFolders() const override { return folders_; }
    std::unique_ptr<Sound> named(const std::string& name) override;
    void performHaptic(Haptic) override {}

    // Whether the file's content is a kind the player can decode (WAV or Ogg).
    static bool isPlayable(const std::string& path);

    class Player;

  private:
    std::vector<std::string> folders_;
    std::shared_ptr<Player> player_;
};

} // namespace rondelix::platform::linux_desktop
