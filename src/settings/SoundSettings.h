#pragma once

#include "settings/SettingRow.h"

#include <optional>
#include <string>
#include <vector>

namespace rondelix {

class ConfigStore;
class FeedbackController;

// The Sound & Feedback page: sounds on and off, their volume, and the aim and
// fire sounds chosen from the sounds on this computer, with a preview.
class SoundSettings {
  public:
    enum class Sound { aim, fire };

    SoundSettings(ConfigStore& store, FeedbackController& feedback, std::vector<std::string> soundNames);

    // The switch and the volume slider, as table rows.
    static SettingRow soundEffectsRow();
    static SettingRow volumeRow();
    static SettingRow hapticsRow();

    const std::vector<std::string>& soundNames() const { return soundNames_; }
    // Where the stored name sits in the list; none for a name no sound file has.
    std::optional<int> selection(Sound sound) const;
    // Stores the name, then plays it once.
    void choose(Sound sound, int index);
    // Plays the stored name again; the beep when no sound has it.
    void preview(Sound sound);

  private:
    const std::string& storedName(Sound sound) const;

    ConfigStore& store_;
    FeedbackController& feedback_;
    std::vector<std::string> soundNames_;
};

} // namespace rondelix
