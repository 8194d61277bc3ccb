#include "overlay/VisibleBounds.h"

namespace rondelix {

namespace {

bool visible(std::uint32_t pixel) {
    return (pixel >> 24) != 0;
}

} // namespace

PixelRun visibleBounds(const std::uint32_t* pixels, int width, int height, std::ptrdiff_t stride) {
    PixelRun box{.top = height, .bottom = 0, .left = width, .right = 0};
    for (int y = 0; y < height; ++y) {
        const std::uint32_t* row = pixels + y * stride;
        int first = 0;
        while (first < width && !visible(row[first]))
            ++first;
        if (first == width) continue;
        int end = width;
        while (!visible(row[end - 1]))
            --end;
        if (first < box.left) box.left = first;
        if (end > box.right) box.right = end;
        if (box.top == height) box.top = y;
        box.bottom = y + 1;
    }
    if (box.top == height) return {};
    return box;
}

} // namespace rondelix
