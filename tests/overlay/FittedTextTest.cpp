#include "overlay/FittedText.h"

#include "overlay/LabelRoom.h"

#include <algorithm>
#include <gtest/gtest.h>

using namespace rondelix;

namespace {

double characters(const std::string& text) {
    return static_cast<double>(
        std::count_if(text.begin(), text.end(), [](char c) { return (c & 0xC0) != 0x80; }));
}

// Every character is as wide as the pixel size; a line is 1.25 sizes high.
const TextMeasure monospace{
    .width = [](const std::string& text, int size) { return characters(text) * size; },
    .lineHeight = [](int size) { return 1.25 * size; },
    .elide =
        [](const std::string& text, int size, double maxWidth) {
            if (characters(text) * size <= maxWidth) return text;
            const auto keep = static_cast<std::size_t>(std::max(0.0, maxWidth / size - 1));
            return text.substr(0, keep) + "\xE2\x80\xA6";
        },
};

// A room of fixed line widths: one line, or each of more.
TextRoom room(double oneLine, double eachOfTwo) {
    return {
        .fits =
            [=](const std::vector<double>& widths, double) {
                for (const double w : widths)
                    if (w > (widths.size() == 1 ? oneLine : eachOfTwo)) return false;
                return true;
            },
        .widths = [=](int lines,
                      double) { return std::vector<double>(lines, lines == 1 ? oneLine : eachOfTwo); },
    };
}

} // namespace

TEST(FittedText, WrapsAtSpacesThenShrinksThenCutsWithAnEllipsis) {
    struct Case {
        std::string label;
        double oneLine, eachOfTwo;
        std::vector<std::string> lines;
        int size;
    };
    const std::vector<Case> cases{
        {"Mail", 100, 100, {"Mail"}, 10},
        // Too wide for one line: the most even split of the words.
        {"Toggle Dark Mode", 120, 100, {"Toggle", "Dark Mode"}, 10},
        // Of several splits that fit, the most even, not the first.
        {"A Toggle Dark Mode", 120, 200, {"A Toggle", "Dark Mode"}, 10},
        {"Open New Terminal Window", 120, 200, {"Open New", "Terminal Window"}, 10},
        // A line break always makes the two lines, even where one would fit.
        {"Two\nlines", 200, 50, {"Two", "lines"}, 10},
        {"Two\r\nlines\nmore", 200, 100, {"Two", "lines more"}, 10},
        // Shrunk as far as 80 %.
        {"Screenshot", 80, 80, {"Screenshot"}, 8},
        {"Lock Screen", 70, 50, {"Lock", "Screen"}, 8},
        // Below that, cut: one line when it shows more than two.
        {"Screenshots", 80, 40, {"Screensho\xE2\x80\xA6"}, 8},
        // Its own lines shrunk where they fit so; else one wrapped again, at full size.
        {"Toggle\nLight Dark Mode", 200, 130, {"Toggle", "Light Dark Mode"}, 8},
        {"Toggle\nLight Dark Mode", 200, 100, {"Toggle", "Light", "Dark Mode"}, 10},
        // Two lines when they show more; the first takes what words fit.
        {"Toggle Light Dark Mode", 64, 80, {"Toggle", "Light Dar\xE2\x80\xA6"}, 8},
        {"", 0, 0, {}, 10},
    };
    for (const Case& c : cases) {
        const FittedText text = fitLines(c.label, 10, 8, monospace, room(c.oneLine, c.eachOfTwo));
        EXPECT_EQ(text.lines, c.lines) << c.label;
        EXPECT_EQ(text.pixelSize, c.size) << c.label;
    }
}

TEST(LabelRoom, SlotsKeepBoxesBetweenTheirDividersTheRimAndTheHub) {
    // 320 across: hub 64, rim 158, slot 2 of 8 is centred at 3 o'clock (271, 160).
    const SlotArea right{WheelGeometry{320}, 2, 8, 2};
    EXPECT_TRUE(right.contains({250, 150, 290, 170}));
    EXPECT_FALSE(right.contains({250, 150, 320, 170})) << "past the rim";
    EXPECT_FALSE(right.contains({220, 150, 290, 170})) << "into the hub";
    EXPECT_FALSE(right.contains({250, 100, 290, 170})) << "across the divider above";
    EXPECT_FALSE(SlotArea({WheelGeometry{320}, 0, 8, 2}).contains({250, 150, 290, 170})) << "another slot";
    // The widest centred band shrinks toward the hub, where the sector narrows.
    const SlotArea top{WheelGeometry{320}, 0, 8, 2};
    EXPECT_GT(top.halfWidthAt(160, 40, 50), top.halfWidthAt(160, 80, 90));
    EXPECT_EQ(top.halfWidthAt(160, 150, 160), 0.0) << "inside the hub";

    // The hub's name capsule: a long name must wrap, shrink or be cut.
    const HubStack hub{WheelGeometry{240}, 14, 2};
    const FittedText name = fitLines("Control Center Extra", 13, 11, monospace, hub.nameRoom());
    std::vector<double> widths;
    for (const std::string& line : name.lines)
        widths.push_back(monospace.width(line, name.pixelSize));
    EXPECT_TRUE(hub.nameRoom().fits(widths, name.lineHeight));
    EXPECT_FALSE(hub.nameRoom().fits({100}, name.lineHeight));
    const Box capsule = hub.nameCapsule(widths, name.lineHeight);
    EXPECT_GE(capsule.left, 120 - 46);
    EXPECT_GE(capsule.top, 120 - 46);
}
