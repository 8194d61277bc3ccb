#pragma once

#include "model/Config.h"

#include <functional>
#include <optional>

class QWidget;

namespace rondelix {

// How the gallery asks for a drawn wheel. The drawing belongs to the overlay,
// which sits above the gallery, so the program hands the gallery's views a
// factory for it.
struct WheelPreviewSpec {
    Wheel wheel;
    double diameter = 360;
    // Present: slots highlight under the pointer and a click reports here.
    std::function<void(int position)> onTapSlice;
    bool prefetchFavicons = false;
    bool showsHubLabel = true;
    // None: the configured strength.
    std::optional<double> accentStrength;
};

using WheelPreviewFactory = std::function<QWidget*(WheelPreviewSpec spec, QWidget* parent)>;

} // namespace rondelix
