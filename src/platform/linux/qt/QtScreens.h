#pragma once

#include "platform/DesktopAppearance.h"
#include "platform/Log.h"
#include "platform/Screens.h"

namespace rondelix::platform::linux_desktop {

// Qt's screens, turned to the system's bottom-left coordinates: the origin at
// the bottom left of the primary screen, y growing upwards.
class QtScreens final : public Screens {
  public:
    // The desktop's accessibility settings come from `appearance`; without
    // one they read as off.
    explicit QtScreens(Log& log, const DesktopAppearance* appearance = nullptr);

    std::vector<Screen> screens() const override;
    std::optional<Screen> mainScreen() const override;
    Point pointerLocation() const override;
    void warpPointer(Point to) override;
    // Reduced motion and increased contrast are the desktop's settings. The
    // desktop has no switch of its own to reduce transparency: high contrast
    // asks for it, and without a compositor nothing can be translucent anyway.
    DisplayOptions displayOptions() const override;

    static bool compositorRunning();

  private:
    Log& log_;
    const DesktopAppearance* appearance_;
    mutable bool loggedNoCompositor_ = false;
};

} // namespace rondelix::platform::linux_desktop
