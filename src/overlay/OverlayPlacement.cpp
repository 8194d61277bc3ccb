#include "overlay/OverlayPlacement.h"

#include "overlay/PanelGeometry.h"

#include <algorithm>

namespace rondelix {

using platform::Point;
using platform::Rect;
using platform::Screen;
using platform::Size;

namespace {

// One axis of the clamp: the disc's near edge from the visible frame's low
// edge plus the inset, to its far edge at the high edge less the inset. When
// the screen is too small for that, the panel is centred on the axis.
double clampAxis(double origin, double low, double high, double mid, double panelExtent, double margin,
                 double diameter) {
    const double lower = low + OverlayPlacement::edgeInset - margin;
    const double upper = high - OverlayPlacement::edgeInset - margin - diameter;
    if (lower > upper) return mid - panelExtent / 2;
    return std::min(std::max(origin, lower), upper);
}

} // namespace

std::optional<Screen> OverlayPlacement::screenFor(const platform::Screens& screens, Point point) {
    for (const Screen& screen : screens.screens())
        if (screen.frame.contains(point)) return screen;
    return screens.mainScreen();
}

Point OverlayPlacement::clampedToScreen(const platform::Screens& screens, Point origin, Size panelSize,
                                        Point reference, double diameter) {
    const auto screen = screenFor(screens, reference);
    if (!screen) return origin;
    const Rect& v = screen->visibleFrame;
    const double margin = PanelGeometry{diameter}.margin();
    return {clampAxis(origin.x, v.minX(), v.maxX(), v.midX(), panelSize.width, margin, diameter),
            clampAxis(origin.y, v.minY(), v.maxY(), v.midY(), panelSize.height, margin, diameter)};
}

Point OverlayPlacement::cursorOrigin(const platform::Screens& screens, Point pointer, Size panelSize,
                                     double diameter) {
    const Point origin{pointer.x - panelSize.width / 2, pointer.y - panelSize.height / 2};
    return clampedToScreen(screens, origin, panelSize, pointer, diameter);
}

Point OverlayPlacement::screenCenterOrigin(const platform::Screens& screens, Point pointer, Size panelSize) {
    const auto screen = screenFor(screens, pointer);
    const Rect visible = screen ? screen->visibleFrame : Rect{};
    return {visible.midX() - panelSize.width / 2, visible.midY() - panelSize.height / 2};
}

Point OverlayPlacement::caretOrigin(const platform::Screens& screens, const std::optional<Rect>& caret,
                                    Point pointer, Size panelSize, double diameter) {
    if (!caret) return cursorOrigin(screens, pointer, panelSize, diameter);
    const double margin = PanelGeometry{diameter}.margin();
    const double x = caret->midX() - panelSize.width / 2;
    const Point reference{caret->midX(), caret->minY()};

    // Below: the disc's top edge a little under the caret's bottom edge, unless
    // the clamp had to push the wheel up into the caret.
    const double belowY = caret->minY() - caretGap - margin - diameter;
    const Point below = clampedToScreen(screens, {x, belowY}, panelSize, reference, diameter);
    if (below.y <= belowY) return below;

    // Above: the disc's bottom edge a little over the caret's top edge.
    const double aboveY = caret->maxY() + caretGap - margin;
    const Point above = clampedToScreen(screens, {x, aboveY}, panelSize, reference, diameter);
    if (above.y >= aboveY) return above;

    return cursorOrigin(screens, pointer, panelSize, diameter);
}

} // namespace rondelix
