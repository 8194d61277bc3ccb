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
    // The slot aimed at from the keyboard, highlighted over any hover.
    std::optional<int> aimedPosition;
};

// A drawn wheel and how to show another wheel in the same widget, which
// keeps what it has already drawn for the parts that stay.
struct WheelPreview {
    QWidget* widget = nullptr;
    std::function<void(WheelPreviewSpec spec)> show;
};

using WheelPreviewFactory = std::function<WheelPreview(WheelPreviewSpec spec, QWidget* parent)>;

} // namespace rondelix
