#include "overlay/DiscRuns.h"

#include <algorithm>
#include <cmath>

namespace rondelix {

std::vector<PixelRun> discRuns(int x, int y, int width, int height) {
    std::vector<PixelRun> runs;
    if (width <= 0 || height <= 0) return runs;
    const double a = width / 2.0;
    const double b = height / 2.0;
    for (int row = 0; row < height; ++row) {
        const double dy = (row + 0.5 - b) / b;
        const double reach = a * std::sqrt(std::max(0.0, 1 - dy * dy));
        // Columns whose centres c + 0.5 satisfy |c + 0.5 - a| < reach.
        const int left = static_cast<int>(std::floor(a - reach + 0.5));
        const int right = static_cast<int>(std::ceil(a + reach - 0.5));
        if (right <= left) continue;
        if (!runs.empty() && runs.back().bottom == y + row && runs.back().left == x + left &&
            runs.back().right == x + right)
            runs.back().bottom = y + row + 1;
        else
            runs.push_back({y + row, y + row + 1, x + left, x + right});
    }
    return runs;
}

} // namespace rondelix
