#pragma once

#include "overlay/HUDSurface.h"
#include "platform/MainQueue.h"
#include "platform/Screens.h"
#include "util/LifetimeGuard.h"

#include <functional>
#include <memory>
#include <optional>
#include <string>

namespace rondelix {

// A short message bubble with a symbol, centred on the pointer's screen for a
// moment, for things that happen outside the program's windows (a failed
// action, pausing). Main thread only.
class HUD {
  public:
    using SurfaceFactory = std::function<std::unique_ptr<HUDSurface>()>;

    static constexpr double fadeInSeconds = 0.12;
    static constexpr double showSeconds = 1.3;
    static constexpr double fadeOutSeconds = 0.2;

    HUD(platform::MainQueue& queue, const platform::Screens& screens, SurfaceFactory makeSurface);
    ~HUD();
    HUD(const HUD&) = delete;
    HUD& operator=(const HUD&) = delete;

    // Shows the bubble, replacing what it showed, and restarts its timer.
    void flash(const std::string& text, const std::string& systemImage,
               const std::optional<std::string>& tintHex = std::nullopt);

    const HUDSurface* panel() const { return panel_.get(); }

  private:
    void dismiss();

    platform::MainQueue& queue_;
    const platform::Screens& screens_;
    SurfaceFactory makeSurface_;
    LifetimeGuard lifetime_;

    std::unique_ptr<HUDSurface> panel_;
    platform::Cancel dismissWork_;
    int flashGeneration_ = 0;
};

} // namespace rondelix
