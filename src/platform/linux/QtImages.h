#pragma once

#include "platform/Images.h"

class QImageReader;

namespace rondelix::platform::linux_desktop {

// Pictures through Qt's image readers and writers; every format an installed
// image plugin reads is accepted.
class QtImages final : public Images {
  public:
    // Pictures from outside (website icons) are read as pixels only: a
    // vector drawing there goes through its own cleaning and time limit.
    enum class Drawings { read, refused };

    explicit QtImages(Drawings drawings = Drawings::read) : drawings_(drawings) {}

    std::optional<PixelSize> declaredSize(std::string_view bytes) const override;
    std::optional<std::string> drawnAsPNG(std::string_view bytes, int width, int height) const override;

  private:
    bool refuses(QImageReader& reader) const;

    Drawings drawings_;
};

} // namespace rondelix::platform::linux_desktop
