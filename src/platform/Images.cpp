#include "platform/Images.h"

#include <algorithm>
#include <cmath>

namespace rondelix::platform {

std::optional<PixelSize> fittedSize(PixelSize size, int maxEdge) {
    if (!(size.width > 0) || !(size.height > 0)) return std::nullopt;
    const double scale = std::min(maxEdge / std::max(size.width, size.height), 1.0);
    return PixelSize{std::max(std::round(size.width * scale), 1.0),
                     std::max(std::round(size.height * scale), 1.0)};
}

Fitted Images::fittedAsPNG(std::string_view bytes, int maxEdge, double largestSide,
                           const Admission& admission, const DrawingAccount&) const {
    const auto declared = declaredSize(bytes);
    if (!declared || declared->width > largestSide || declared->height > largestSide) return {};
    const auto fitted = fittedSize(*declared, maxEdge);
    if (!fitted) return {};
    return {drawnAsPNG(bytes, static_cast<int>(fitted->width), static_cast<int>(fitted->height), admission)};
}

} // namespace rondelix::platform
