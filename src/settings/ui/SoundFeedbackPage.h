#pragma once

#include "settings/SoundSettings.h"
#include "settings/ui/SettingsPage.h"

namespace rondelix {

namespace platform {
class Sounds;
}

// Sound effects, their volume, the aim and fire sounds with a preview, and
// haptics, which this system does not have.
class SoundFeedbackPage : public SettingsPage {
  public:
    SoundFeedbackPage(ConfigStore& store, FeedbackController& feedback, platform::Sounds& sounds,
                      QWidget* parent);

  private:
    void addSoundPicker(QVBoxLayout* section, const SettingText& text, SoundSettings::Sound sound);

    SoundSettings settings_;
};

} // namespace rondelix
