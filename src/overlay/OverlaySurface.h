#pragma once

#include "overlay/OpenAnimation.h"
#include "platform/Geometry.h"

#include <functional>

namespace rondelix {

// What a panel is built for; a change of any of it needs a new panel.
struct PanelOptions {
    double diameter = 0;
    bool glass = false;
    bool opaque = false;
};

// The floating panel that shows the wheel, as the overlay controller drives it.
// The desktop view implements it; tests use a recording one. Frames are in
// bottom-left screen coordinates. The panel never takes keyboard focus.
class OverlaySurface {
  public:
    virtual ~OverlaySurface() = default;

    virtual platform::Rect frame() const = 0;
    virtual void setFrame(platform::Rect frame) = 0;

    virtual double alpha() const = 0;
    // Sets the alpha at once, stopping any alpha animation.
    virtual void setAlpha(double alpha) = 0;
    // Animates the alpha with an ease-out curve; asked for only where a
    // compositor shows it, also on an opaque panel. The controller times what
    // follows the animation on the main queue, not on the view's timers.
    virtual void animateAlpha(double to, double seconds) = 0;

    virtual void orderFront() = 0;
    virtual void orderOut() = 0;
    virtual bool isVisible() const = 0;
    // The least alpha at which what lies behind the panel does not read
    // through its text: where nothing blurs it, sharp text behind would.
    virtual double alphaFloor() const = 0;

    virtual void setIgnoresMouseEvents(bool ignores) = 0;
    virtual void setDragHandleHidden(bool hidden) = 0;
    // Called when the drag handle's close button is clicked.
    virtual void setOnClose(std::function<void()> onClose) = 0;

    virtual void playOpenAnimation(const OpenAnimation& animation) = 0;
    // Shows the first frame of an opening once, off every screen, so that the
    // window's first showing, its buffers, fonts, glyph caches and icons are
    // made before the first summon rather than during it. The panel counts
    // as ordered front until it is ordered out.
    virtual void prewarm() = 0;

    // For the diagnostics line: the stacking level, the highest level the
    // desktop offers, and the window behaviour flags.
    virtual int level() const = 0;
    virtual int shieldLevel() const = 0;
    virtual unsigned long windowBehavior() const = 0;
};

} // namespace rondelix
