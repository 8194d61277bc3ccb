#include "overlay/BilinearScaler.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <gtest/gtest.h>
#include <random>
#include <vector>

namespace rondelix {
namespace {

// Each channel of the source at (u, v), filtered in full precision, with
// positions past the edge taking the edge pixels.
double exactChannel(const std::vector<std::uint32_t>& pixels, int width, int height, double u, double v,
                    int channel) {
    const auto at = [&](int x, int y) {
        x = std::clamp(x, 0, width - 1);
        y = std::clamp(y, 0, height - 1);
        return static_cast<double>((pixels[static_cast<std::size_t>(y * width + x)] >> (8 * channel)) & 0xff);
    };
    u = std::clamp(u, 0.0, width - 1.0);
    v = std::clamp(v, 0.0, height - 1.0);
    const int x = static_cast<int>(u);
    const int y = static_cast<int>(v);
    const double fx = u - x;
    const double fy = v - y;
    return (at(x, y) * (1 - fx) + at(x + 1, y) * fx) * (1 - fy) +
           (at(x, y + 1) * (1 - fx) + at(x + 1, y + 1) * fx) * fy;
}

TEST(BilinearScaler, EveryRowSpanMatchesTheExactFilterAndWritesNothingElse) {
    struct Case {
        int width, height;
        double scale, originX, originY;
        int left, right;
    };
    const Case cases[] = {
        {40, 30, 1.0, 0, 0, 0, 40},         // one to one: the source itself
        {40, 30, 0.85, 3.2, 2.6, 2, 39},    // the spring's start, odd span
        {40, 30, 1.013, -0.3, -0.4, 0, 41}, // its overshoot, past the edges
        {40, 30, 2.5, -10.7, -5.1, 7, 50},  // far up
        {40, 30, 0.4, 5, 5, 0, 30},         // far down
        {1, 1, 0.9, 0.5, 0.5, 0, 3},        // a single pixel
        {2, 1, 1.7, 0, 0, 1, 4},            // one row
    };
    std::mt19937 random(7);
    for (const Case& c : cases) {
        std::vector<std::uint32_t> source(static_cast<std::size_t>(c.width * c.height));
        for (auto& pixel : source)
            pixel = static_cast<std::uint32_t>(random());
        const int columns = c.right + 2;
        BilinearScaler scaler({source.data(), c.width, c.height, c.width}, c.scale, c.originX, c.originY,
                              columns);
        for (int y = 0; y < 12; ++y) {
            std::vector<std::uint32_t> row(static_cast<std::size_t>(columns), 0x5a5a5a5a);
            scaler.scaleRow(y, c.left, c.right, row.data() + c.left);
            for (int x = 0; x < columns; ++x) {
                if (x < c.left || x >= c.right) {
                    EXPECT_EQ(row[static_cast<std::size_t>(x)], 0x5a5a5a5au)
                        << "column " << x << " outside the span";
                    continue;
                }
                const double u = (x + 0.5 - c.originX) / c.scale - 0.5;
                const double v = (y + 0.5 - c.originY) / c.scale - 0.5;
                for (int channel = 0; channel < 4; ++channel) {
                    const double got = (row[static_cast<std::size_t>(x)] >> (8 * channel)) & 0xff;
                    const double exact = exactChannel(source, c.width, c.height, u, v, channel);
                    // One to one, nothing is filtered; else each of the two
                    // passes rounds once and weighs in 256ths.
                    EXPECT_NEAR(got, exact, c.scale == 1.0 ? 0.0 : 2.0)
                        << c.width << "x" << c.height << " at " << c.scale << ", pixel " << x << "," << y;
                }
            }
        }
    }
}

} // namespace
} // namespace rondelix
