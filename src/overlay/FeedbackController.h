#pragma once

#include "engine/SummonFeedback.h"
#include "model/Behavior.h"
#include "platform/MainQueue.h"
#include "platform/Sounds.h"

#include <functional>
#include <limits>
#include <memory>
#include <string>
#include <vector>

namespace rondelix {

// The short sound and haptic that answer each aim change and each fire, and
// the sound pickers' preview. Main thread only; aim() runs on every aim change
// of an open wheel, so sounds are loaded only when the configured name changes.
class FeedbackController final : public SummonFeedback {
  public:
    using BehaviorSource = std::function<Behavior()>;

    static constexpr double aimThrottle = 0.045;
    static constexpr std::size_t aimPoolSize = 6;
    static constexpr const char* fallbackAimSound = "Tink";
    static constexpr const char* fallbackFireSound = "Pop";

    FeedbackController(BehaviorSource behavior, platform::Sounds& sounds, const platform::MainQueue& clock);

    void aim() override;
    void fire() override;
    // Plays the named sound once, even with sounds off; beeps when there is none.
    void preview(const std::string& name);

  private:
    void ensureAimPool(const std::string& name);
    void ensureFireSound(const std::string& name);
    std::unique_ptr<platform::Sound> loadOr(const std::string& name, const char* fallback);
    static void playFromStart(platform::Sound& sound, double volume);

    BehaviorSource behavior_;
    platform::Sounds& sounds_;
    const platform::MainQueue& clock_;

    std::vector<std::unique_ptr<platform::Sound>> aimSounds_;
    std::string aimSoundName_;
    std::size_t aimIndex_ = 0;
    std::unique_ptr<platform::Sound> fireSound_;
    std::string fireSoundName_;
    std::unique_ptr<platform::Sound> previewSound_;
    // Minus infinity so that the very first aim is never throttled, even at
    // time zero of a fresh clock.
    double lastAimAt_ = -std::numeric_limits<double>::infinity();
};

} // namespace rondelix
