#pragma once

#include "platform/Geometry.h"

#include <optional>
#include <string>

namespace rondelix {

// The HUD's bubble window as the HUD drives it: never focused, clicks pass
// through. Origins are in bottom-left screen coordinates.
class HUDSurface {
  public:
    virtual ~HUDSurface() = default;

    // Replaces what the bubble shows and answers the size it needs; the window
    // takes that size. A tint (hex colour text) colours the symbol only.
    virtual platform::Size setContent(const std::string& text, const std::string& systemImage,
                                      const std::optional<std::string>& tintHex) = 0;
    virtual void setOrigin(platform::Point origin) = 0;
    virtual void setAlpha(double alpha) = 0;
    virtual void animateAlpha(double to, double seconds) = 0;
    virtual void orderFront() = 0;
    virtual void orderOut() = 0;
    virtual bool isVisible() const = 0;
};

} // namespace rondelix
