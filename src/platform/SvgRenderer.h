#pragma once

#include "platform/Admission.h"

#include <optional>
#include <string>

namespace rondelix::platform {

// Draws a vector drawing that has already been cleaned of every outside
// reference; it loads nothing from the network or the disk and runs no
// script.
class SvgRenderer {
  public:
    virtual ~SvgRenderer() = default;

    // A transparent square of side × side pixels with the drawing fitted in
    // it, its aspect kept and centred, encoded as PNG. None when the drawing
    // cannot be drawn, takes longer than the seconds given or than the
    // renderer allows, or needs more memory than it allows, or when the
    // admission, asked just before the drawing begins, gives none; the
    // seconds count from when the drawing begins, not a wait for the
    // renderer or the admission. Blocks; never call it on the main thread.
    // The admission's hold is kept until the drawing has really ended, also
    // when the renderer answered before it: what the hold stands for (the
    // memory counted for the drawing) stays taken while the drawing may
    // still use it.
    virtual std::optional<std::string> renderPNG(const std::string& svg, int side, double seconds,
                                                 const Admission& admission) = 0;
};

} // namespace rondelix::platform
