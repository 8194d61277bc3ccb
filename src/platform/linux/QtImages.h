#pragma once

#include "platform/Images.h"

namespace rondelix::platform::linux_desktop {

// Pictures through Qt's image readers and writers; every format an installed
// image plugin reads is accepted.
class QtImages final : public Images {
  public:
    std::optional<PixelSize> declaredSize(std::string_view bytes) const override;
    std::optional<std::string> drawnAsPNG(std::string_view bytes, int width, int height) const override;
};

} // namespace rondelix::platform::linux_desktop
