#pragma once

#include <vector>

namespace rondelix {

// A band of pixel rows that all cover the same columns; ends are exclusive.
struct PixelRun {
    int top = 0;
    int bottom = 0;
    int left = 0;
    int right = 0;

    friend bool operator==(const PixelRun&, const PixelRun&) = default;
};

// The pixels of a box whose centres lie inside the ellipse the box encloses,
// as bands from top to bottom, each row merged into the band above it when
// it covers the same columns. A window shape built from these costs one
// square root per row, so it can follow an animation frame by frame.
std::vector<PixelRun> discRuns(int x, int y, int width, int height);

} // namespace rondelix
