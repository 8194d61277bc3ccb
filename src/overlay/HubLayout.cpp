#include "overlay/HubLayout.h"

#include <cmath>
#include <map>
#include <memory>
#include <utility>
#include <vector>

namespace rondelix {

namespace {

constexpr SwitcherLook fullLook{};
// The smallest the dots and the capsule's padding get before the count
// takes their place.
constexpr SwitcherLook floorLook{
    .dotSize = 4, .dotSpacing = 2, .countPixelSize = 9, .paddingX = 4, .paddingY = 2};
constexpr int shrinkSteps = 4;

double between(double from, double to, double t) {
    return from + (to - from) * t;
}

SwitcherLook paddedLook(double t) {
    SwitcherLook look;
    look.dotSize = between(fullLook.dotSize, floorLook.dotSize, t);
    look.dotSpacing = between(fullLook.dotSpacing, floorLook.dotSpacing, t);
    look.paddingX = between(fullLook.paddingX, floorLook.paddingX, t);
    look.paddingY = between(fullLook.paddingY, floorLook.paddingY, t);
    return look;
}

// Every way the switcher may be drawn, largest first.
std::vector<SwitcherLook> switcherLooks(const WheelSwitcher& switcher, const TextMeasure& count) {
    std::vector<SwitcherLook> looks;
    if (switcher.style == WheelSwitcher::Style::hidden) return looks;
    if (switcher.style == WheelSwitcher::Style::dots) {
        const auto dots = static_cast<double>(switcher.dots.size());
        for (int step = 0; step <= shrinkSteps; ++step) {
            SwitcherLook look = paddedLook(static_cast<double>(step) / shrinkSteps);
            look.style = WheelSwitcher::Style::dots;
            look.width = dots * look.dotSize + (dots - 1) * look.dotSpacing + 2 * look.paddingX;
            look.height = look.dotSize + 2 * look.paddingY;
            looks.push_back(look);
        }
    }
    const auto countLook = [&](int pixelSize, double t) {
        SwitcherLook look = paddedLook(t);
        look.style = WheelSwitcher::Style::count;
        look.countPixelSize = pixelSize;
        look.width = count.width(switcher.countText, pixelSize) + 2 * look.paddingX;
        look.height = count.lineHeight(pixelSize) + 2 * look.paddingY;
        return look;
    };
    looks.push_back(countLook(fullLook.countPixelSize, 0));
    for (int size = fullLook.countPixelSize; size >= floorLook.countPixelSize; --size)
        looks.push_back(countLook(size, 1));
    return looks;
}

// The name is laid out again for every way the switcher may look: each of
// its measures is taken once.
TextMeasure remembered(const TextMeasure& measure) {
    auto widths = std::make_shared<std::map<std::pair<std::string, int>, double>>();
    auto heights = std::make_shared<std::map<int, double>>();
    return {
        .width =
            [measure, widths](const std::string& text, int pixelSize) {
                auto key = std::make_pair(text, pixelSize);
                if (const auto found = widths->find(key); found != widths->end()) return found->second;
                const double width = measure.width(text, pixelSize);
                widths->emplace(std::move(key), width);
                return width;
            },
        .lineHeight =
            [measure, heights](int pixelSize) {
                if (const auto found = heights->find(pixelSize); found != heights->end())
                    return found->second;
                return heights->emplace(pixelSize, measure.lineHeight(pixelSize)).first->second;
            },
        .elide = measure.elide,
    };
}

HubLayout withName(const HubStack& stack, const std::string& name, const HubText& text,
                   const TextRoom& room) {
    HubLayout layout;
    const int smallest = static_cast<int>(std::ceil(0.8 * text.namePixelSize));
    layout.name = fitLines(name, text.namePixelSize, smallest, text.name, room);
    std::vector<double> widths;
    for (const std::string& line : layout.name.lines)
        widths.push_back(text.name.width(line, layout.name.pixelSize));
    layout.nameCapsule = stack.nameCapsule(widths, layout.name.lineHeight);
    return layout;
}

double heightOf(const Box& box) {
    return box.bottom - box.top;
}

} // namespace

HubLayout layoutHub(const WheelGeometry& geometry, const std::string& name, const WheelSwitcher& switcher,
                    const HubText& measures) {
    const HubText text{remembered(measures.name), measures.namePixelSize, measures.count};
    const std::vector<SwitcherLook> looks = switcherLooks(switcher, text.count);
    for (const SwitcherLook& look : looks) {
        const HubStack stack{geometry, look.height};
        HubLayout layout = withName(stack, name, text, stack.nameRoom());
        const Box capsule = stack.switcherCapsule(look.width, heightOf(layout.nameCapsule));
        if (!stack.holds(capsule)) continue;
        layout.switcher = look;
        layout.switcherCapsule = capsule;
        return layout;
    }
    // The name as it would lie alone leaves no room: it gives way to the
    // smallest dots, else the smallest count.
    std::vector<SwitcherLook> smallest;
    for (const SwitcherLook& look : looks) {
        if (smallest.empty() || smallest.back().style != look.style)
            smallest.push_back(look);
        else
            smallest.back() = look;
    }
    const int namePixels = static_cast<int>(std::ceil(0.8 * text.namePixelSize));
    const double oneLine = text.name.lineHeight(namePixels) + 2 * HubStack::namePaddingY;
    for (const SwitcherLook& look : smallest) {
        const HubStack stack{geometry, look.height};
        if (!stack.holds(stack.switcherCapsule(look.width, oneLine))) continue;
        HubLayout layout = withName(stack, name, text, stack.nameRoom(look.width));
        layout.switcher = look;
        layout.switcherCapsule = stack.switcherCapsule(look.width, heightOf(layout.nameCapsule));
        return layout;
    }
    const HubStack stack{geometry, 0};
    return withName(stack, name, text, stack.nameRoom());
}

} // namespace rondelix
