#pragma once

#include "platform/Sounds.h"

#include <map>
#include <memory>
#include <string>
#include <vector>

namespace rondelix::platform::sim {

// Named sounds that exist only as a table; every play, stop and haptic is
// recorded. A sound keeps playing until the test calls finishAll().
class SimSounds final : public Sounds {
  public:
    struct Play {
        std::string name;
        int instance = 0; // which copy played
        double volume = 0;
    };

    void beep() override { ++beeps; }
    bool deviceFound() override { return hasDevice; }
    std::vector<std::string> soundFolders() const override { return folders; }
    std::unique_ptr<Sound> named(const std::string& name) override;
    void performHaptic(Haptic pattern) override { haptics.push_back(pattern); }

    void finishAll() { log_->playing.clear(); }

    // Names that load; any other name has no sound.
    std::vector<std::string> available{"Tink", "Pop"};
    std::vector<std::string> folders;
    bool hasDevice = true;
    // Copies fail past this many per loaded sound (the original included).
    int copiesThatSucceed = 1000;

    int beeps = 0;
    std::vector<Haptic> haptics;
    const std::vector<Play>& plays() const { return log_->plays; }
    const std::vector<int>& stops() const { return log_->stops; }

  private:
    struct Ledger {
        std::vector<Play> plays;
        std::vector<int> stops;
        std::vector<int> playing;
        int nextInstance = 0;
    };
    class SimSound;

    std::shared_ptr<Ledger> log_ = std::make_shared<Ledger>();
};

} // namespace rondelix::platform::sim
