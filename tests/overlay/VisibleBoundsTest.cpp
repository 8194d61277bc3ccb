#include "overlay/VisibleBounds.h"

#include <gtest/gtest.h>
#include <vector>

using namespace rondelix;

// Rows of 5 pixels laid 7 apart; a pixel counts once any alpha shows, and
// the two pixels past each row's end never do.
TEST(VisibleBounds, BoxesThePixelsWithAnyAlpha) {
    constexpr int width = 5, height = 4, stride = 7;
    struct Case {
        std::vector<std::pair<int, int>> shown; // x, y
        PixelRun box;
    };
    const Case cases[] = {
        {{}, {}},
        {{{0, 0}}, {.top = 0, .bottom = 1, .left = 0, .right = 1}},
        {{{4, 3}}, {.top = 3, .bottom = 4, .left = 4, .right = 5}},
        {{{3, 1}, {1, 2}}, {.top = 1, .bottom = 3, .left = 1, .right = 4}},
    };
    for (const Case& c : cases) {
        std::vector<std::uint32_t> pixels(stride * height, 0x00ffffff);
        for (int y = 0; y < height; ++y)
            pixels[y * stride + width] = pixels[y * stride + width + 1] = 0xff000000;
        for (const auto& [x, y] : c.shown)
            pixels[y * stride + x] = 0x01000000;
        EXPECT_EQ(visibleBounds(pixels.data(), width, height, stride), c.box) << c.shown.size();
    }
}
