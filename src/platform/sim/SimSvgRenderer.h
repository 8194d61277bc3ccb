#pragma once

#include "platform/SvgRenderer.h"

#include <vector>

namespace rondelix::platform::sim {

// "Draws" by returning a fixed picture, recording each drawing it received.
class SimSvgRenderer final : public SvgRenderer {
  public:
    std::optional<std::string> renderPNG(const std::string& svg, int side) override {
        drawings.push_back({svg, side});
        if (fails) return std::nullopt;
        return "svg:" + std::to_string(side);
    }

    struct Drawing {
        std::string svg;
        int side = 0;
    };
    std::vector<Drawing> drawings;
    bool fails = false;
};

} // namespace rondelix::platform::sim
