#include "overlay/FeedbackController.h"

namespace rondelix {

FeedbackController::FeedbackController(BehaviorSource behavior, platform::Sounds& sounds,
                                       const platform::MainQueue& clock)
    : behavior_(std::move(behavior)), sounds_(sounds), clock_(clock) {}

void FeedbackController::aim() {
    const double now = clock_.now();
    if (now - lastAimAt_ < aimThrottle) return;
    lastAimAt_ = now;

    const Behavior behavior = behavior_();
    if (behavior.hapticsEnabled) sounds_.performHaptic(platform::Haptic::alignment);
    if (!behavior.soundEnabled) return;
    ensureAimPool(behavior.aimSoundName);
    if (aimSounds_.empty()) return;
    // Rotating through copies lets a new aim sound start while earlier ones ring out.
    platform::Sound& sound = *aimSounds_[aimIndex_];
    aimIndex_ = (aimIndex_ + 1) % aimSounds_.size();
    playFromStart(sound, behavior.soundVolume);
}

void FeedbackController::fire() {
    const Behavior behavior = behavior_();
    if (behavior.hapticsEnabled) sounds_.performHaptic(platform::Haptic::levelChange);
    if (!behavior.soundEnabled) return;
    ensureFireSound(behavior.fireSoundName);
    if (fireSound_) playFromStart(*fireSound_, behavior.soundVolume);
}

void FeedbackController::preview(const std::string& name) {
    auto sound = sounds_.named(name);
    if (!sound) {
        sounds_.beep();
        return;
    }
    if (previewSound_) previewSound_->stop();
    sound->setVolume(behavior_().soundVolume);
    previewSound_ = std::move(sound);
    previewSound_->play();
}

void FeedbackController::ensureAimPool(const std::string& name) {
    if (name == aimSoundName_ && !aimSounds_.empty()) return;
    aimSoundName_ = name;
    aimSounds_.clear();
    aimIndex_ = 0;
    const auto original = loadOr(name, fallbackAimSound);
    if (!original) return;
    for (std::size_t i = 0; i < aimPoolSize; ++i)
        if (auto copy = original->copy()) aimSounds_.push_back(std::move(copy));
}

void FeedbackController::ensureFireSound(const std::string& name) {
    if (name == fireSoundName_ && fireSound_) return;
    fireSoundName_ = name;
    fireSound_ = loadOr(name, fallbackFireSound);
}

std::unique_ptr<platform::Sound> FeedbackController::loadOr(const std::string& name, const char* fallback) {
    if (auto sound = sounds_.named(name)) return sound;
    return sounds_.named(fallback);
}

void FeedbackController::playFromStart(platform::Sound& sound, double volume) {
    if (sound.isPlaying()) sound.stop();
    sound.setVolume(volume);
    sound.play();
}

} // namespace rondelix
