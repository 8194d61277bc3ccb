#pragma once

#include "overlay/FittedText.h"
#include "overlay/LabelRoom.h"
#include "overlay/WheelSwitcher.h"

#include <string>

namespace rondelix {

// The switcher's capsule as drawn: its dots, or the open wheel's place as a
// count in a font of `countPixelSize`, inside the padding.
struct SwitcherLook {
    WheelSwitcher::Style style = WheelSwitcher::Style::hidden;
    double dotSize = 6;
    double dotSpacing = 5;
    int countPixelSize = 11;
    double paddingX = 8;
    double paddingY = 4;
    double width = 0;
    double height = 0;
    friend bool operator==(const SwitcherLook&, const SwitcherLook&) = default;
};

// How the hub measures its texts: the name's font from its own size down,
// and the count's font.
struct HubText {
    TextMeasure name;
    int namePixelSize = 13;
    TextMeasure count;
};

// Where the hub draws its name and switcher, in the drawn square.
struct HubLayout {
    FittedText name;
    Box nameCapsule;
    SwitcherLook switcher;
    // Empty when no switcher is drawn.
    Box switcherCapsule;
};

// Lays the name and, above it, the switcher out inside the hub. The name
// takes its room first; the dots then shrink (size, spacing, padding) to a
// floor, and past it the switcher shows the open wheel's place as a count,
// itself shrinking to 80 %. When even that finds no room above the name as
// it lies, the name gives way (one line, smaller, cut) to the smallest dots,
// else the smallest count; a hub with no room for a switcher at all shows
// the name alone.
HubLayout layoutHub(const WheelGeometry& geometry, const std::string& name, const WheelSwitcher& switcher,
                    const HubText& text);

} // namespace rondelix
