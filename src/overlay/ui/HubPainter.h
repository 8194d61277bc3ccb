#pragma once

#include "overlay/HubLayout.h"
#include "overlay/WheelGeometry.h"
#include "overlay/WheelSwitcher.h"
#include "overlay/ui/WheelPalette.h"

#include <QColor>
#include <QRectF>
#include <string>

class QPainter;

namespace rondelix {

// The hub: the wheel's name on a capsule and, above it, the wheel switcher.
struct HubContent {
    std::string name;
    WheelSwitcher switcher;
    QColor activeDot;
    friend bool operator==(const HubContent&, const HubContent&) = default;
};

// Where the name and the switcher go, measured in the fonts they are drawn in.
HubLayout hubLayout(const WheelGeometry& geometry, const HubContent& content);

void paintHub(QPainter& painter, const WheelGeometry& geometry, const HubContent& content,
              const WheelPalette& palette);

// The part of the wheel's square the hub draws on: its capsules, whose text
// lies inside them.
QRectF hubBounds(const WheelGeometry& geometry, const HubContent& content);

} // namespace rondelix
