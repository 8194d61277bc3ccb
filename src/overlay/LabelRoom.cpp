#include "overlay/LabelRoom.h"

#include <algorithm>
#include <cmath>
#include <functional>

namespace rondelix {

namespace {

double distance(double x, double y) {
    return std::sqrt(x * x + y * y);
}

// The largest value in [0, limit] that `holds` accepts, for a test that
// holds for every value below one that it accepts; 0 when it holds nowhere.
double largestAccepted(double limit, const std::function<bool(double)>& holds) {
    if (!holds(0)) return 0;
    double low = 0, high = std::max(0.0, limit);
    if (holds(high)) return high;
    for (int step = 0; step < 32; ++step) {
        const double middle = (low + high) / 2;
        (holds(middle) ? low : high) = middle;
    }
    return low;
}

// A rounded box whose corners are quarter circles of `radius` lies inside
// the circle when the box shrunk by that radius does, by that much.
bool roundedBoxInCircle(const Box& box, double radius, Point centre, double circle) {
    const double room = circle - radius;
    if (room < 0) return false;
    const Box inner{box.left + radius, box.top + radius, box.right - radius, box.bottom - radius};
    for (const double x : {inner.left, inner.right})
        for (const double y : {inner.top, inner.bottom})
            if (distance(x - centre.x, y - centre.y) > room) return false;
    return true;
}

} // namespace

bool SlotArea::contains(const Box& box) const {
    if (count < 1 || box.right < box.left || box.bottom < box.top) return false;
    const Point c = geometry.centre();
    // The rim: the outer disc is convex, so the corners tell.
    if (!roundedBoxInCircle(box, 0, c, geometry.outerRadius() - inset)) return false;
    // The hub: the box's nearest point to the centre stays outside it.
    const double nearX = std::clamp(c.x, box.left, box.right) - c.x;
    const double nearY = std::clamp(c.y, box.top, box.bottom) - c.y;
    if (distance(nearX, nearY) < geometry.hubRadius() + inset) return false;
    if (count == 1) return true;
    // The dividers: each corner stays on the slot's side of both, by the inset.
    const SliceShape sector = geometry.sector(position, count);
    const double startX = std::cos(sector.startAngle()), startY = std::sin(sector.startAngle());
    const double endX = std::cos(sector.endAngle()), endY = std::sin(sector.endAngle());
    for (const double x : {box.left, box.right})
        for (const double y : {box.top, box.bottom}) {
            const double dx = x - c.x, dy = y - c.y;
            if (startX * dy - startY * dx < inset) return false;
            if (dx * endY - dy * endX < inset) return false;
        }
    return true;
}

double SlotArea::halfWidthAt(double x, double top, double bottom) const {
    return largestAccepted(geometry.side / 2, [&](double half) {
        return contains({x - half, top, x + half, bottom});
    });
}

std::vector<Box> SlotStack::lineBoxes(const std::vector<double>& widths, double lineHeight) const {
    const auto lines = static_cast<double>(widths.size());
    const double labelHeight = lineHeight * lines;
    const double gap = widths.empty() || iconHeight <= 0 ? 0 : spacing;
    const double stackTop = -(iconHeight + gap + labelHeight) / 2;
    const Point at = area.geometry.slotPoint(area.position, area.count);
    std::vector<Box> boxes;
    for (std::size_t i = 0; i < widths.size(); ++i) {
        const double top = stackTop + iconHeight + gap + lineHeight * static_cast<double>(i);
        boxes.push_back({at.x - scale * widths[i] / 2, at.y + scale * top, at.x + scale * widths[i] / 2,
                         at.y + scale * (top + lineHeight)});
    }
    return boxes;
}

TextRoom SlotStack::labelRoom() const {
    return {
        .fits =
            [this](const std::vector<double>& widths, double lineHeight) {
                const std::vector<Box> boxes = lineBoxes(widths, lineHeight);
                return std::all_of(boxes.begin(), boxes.end(),
                                   [this](const Box& b) { return area.contains(b); });
            },
        .widths =
            [this](int lines, double lineHeight) {
                std::vector<double> room;
                for (const Box& line :
                     lineBoxes(std::vector<double>(static_cast<std::size_t>(lines), 0), lineHeight))
                    room.push_back(2 * area.halfWidthAt(line.left, line.top, line.bottom) / scale);
                return room;
            },
    };
}

Box HubStack::nameCapsule(const std::vector<double>& widths, double lineHeight) const {
    const double widest = widths.empty() ? 0 : *std::max_element(widths.begin(), widths.end());
    const double width = widest + 2 * namePaddingX;
    const double height = lineHeight * static_cast<double>(widths.size()) + 2 * namePaddingY;
    const double above = switcherHeight > 0 ? switcherHeight + spacing : 0;
    const Point centre = geometry.hubCentre();
    const double top = centre.y - (above + height) / 2 + above;
    return {centre.x - width / 2, top, centre.x + width / 2, top + height};
}

Box HubStack::switcherCapsule(double width, double nameHeight) const {
    const Point centre = geometry.hubCentre();
    const double top = centre.y - (switcherHeight + spacing + nameHeight) / 2;
    return {centre.x - width / 2, top, centre.x + width / 2, top + switcherHeight};
}

bool HubStack::holds(const Box& capsule) const {
    const double radius = std::min(capsule.right - capsule.left, capsule.bottom - capsule.top) / 2;
    return roundedBoxInCircle(capsule, radius, geometry.centre(), geometry.hubRadius() - inset);
}

TextRoom HubStack::nameRoom(std::optional<double> switcherWidth) const {
    const auto fits = [this, switcherWidth](const std::vector<double>& widths, double lineHeight) {
        const Box name = nameCapsule(widths, lineHeight);
        return holds(name) &&
               (!switcherWidth || holds(switcherCapsule(*switcherWidth, name.bottom - name.top)));
    };
    return {
        .fits = fits,
        .widths =
            [this, fits](int lines, double lineHeight) {
                const auto count = static_cast<std::size_t>(lines);
                const double widest = largestAccepted(geometry.side, [&](double width) {
                    return fits(std::vector<double>(count, width), lineHeight);
                });
                return std::vector<double>(count, widest);
            },
    };
}

} // namespace rondelix
