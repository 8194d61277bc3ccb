#pragma once

#include "platform/Log.h"
#include "platform/Screens.h"

namespace rondelix::platform::linux_desktop {

// Qt's screens, turned to the system's bottom-left coordinates: the origin at
// the bottom left of the primary screen, y growing upwards.
class QtScreens final : public Screens {
  public:
    explicit QtScreens(Log& log);

    std::vector<Screen> screens() const override;
    std::optional<Screen> mainScreen() const override;
    Point pointerLocation() const override;
    void warpPointer(Point to) override;
    // Without a compositor nothing can be translucent, which is what reduced
    // transparency asks for anyway.
    DisplayOptions displayOptions() const override;

    static bool compositorRunning();

  private:
    Log& log_;
    mutable bool loggedNoCompositor_ = false;
};

} // namespace rondelix::platform::linux_desktop
