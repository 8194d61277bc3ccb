#pragma once

#include "overlay/DiscRuns.h"

#include <cstddef>
#include <cstdint>

namespace rondelix {

// The smallest box around the pixels of a premultiplied 32-bit image (alpha
// in the top byte) that are not fully transparent, as one run of rows; all
// zero when every pixel is. `stride` counts pixels from one row to the next.
PixelRun visibleBounds(const std::uint32_t* pixels, int width, int height, std::ptrdiff_t stride);

} // namespace rondelix
