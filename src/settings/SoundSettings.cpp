#include "settings/SoundSettings.h"

#include "overlay/FeedbackController.h"
#include "store/ConfigStore.h"

#include <algorithm>
#include <utility>

namespace rondelix {

SoundSettings::SoundSettings(ConfigStore& store, FeedbackController& feedback,
                             std::vector<std::string> soundNames)
    : store_(store), feedback_(feedback), soundNames_(std::move(soundNames)) {}

SettingRow SoundSettings::soundEffectsRow() {
    return toggleRow({"Sound effects", "speaker.wave.2", std::nullopt}, &Behavior::soundEnabled);
}

SettingRow SoundSettings::volumeRow() {
    SettingRow row =
        percentRow({"Volume", "speaker.wave.1", std::nullopt}, {0, 1, 0.05}, &Behavior::soundVolume);
    row.shownWhen = [](const Behavior& b) { return b.soundEnabled; };
    return row;
}

SettingRow SoundSettings::hapticsRow() {
    return toggleRow({"Haptic feedback", "hand.tap",
                      "This computer has no haptic feedback; the choice is kept for one that has."},
                     &Behavior::hapticsEnabled);
}

const std::string& SoundSettings::storedName(Sound sound) const {
    const Behavior& b = store_.config().behavior;
    return sound == Sound::aim ? b.aimSoundName : b.fireSoundName;
}

std::optional<int> SoundSettings::selection(Sound sound) const {
    const auto it = std::ranges::find(soundNames_, storedName(sound));
    if (it == soundNames_.end()) return std::nullopt;
    return static_cast<int>(it - soundNames_.begin());
}

void SoundSettings::choose(Sound sound, int index) {
    if (index < 0 || index >= static_cast<int>(soundNames_.size())) return;
    const std::string& name = soundNames_[static_cast<std::size_t>(index)];
    store_.mutate([&](Config& config) {
        (sound == Sound::aim ? config.behavior.aimSoundName : config.behavior.fireSoundName) = name;
    });
    feedback_.preview(name);
}

void SoundSettings::preview(Sound sound) {
    feedback_.preview(storedName(sound));
}

} // namespace rondelix
