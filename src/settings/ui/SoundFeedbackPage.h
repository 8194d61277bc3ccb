#pragma once

#include "settings/SoundSettings.h"
#include "settings/ui/SettingsPage.h"

namespace rondelix {

namespace platform {
class Sounds;
}
class ProblemCaption;

// Sound effects, their volume, the aim and fire sounds with a preview, and
// haptics, which this system does not have.
class SoundFeedbackPage : public SettingsPage {
  public:
    SoundFeedbackPage(ConfigStore& store, FeedbackController& feedback, platform::Sounds& sounds,
                      QWidget* parent);

  private:
    void addSoundPicker(QVBoxLayout* section, const SettingText& text, SoundSettings::Sound sound);
    // Says, above the sound rows, when there is no device to hear them on.
    void showDevice();

    SoundSettings settings_;
    platform::Sounds& sounds_;
    ProblemCaption* noDevice_ = nullptr;
};

} // namespace rondelix
