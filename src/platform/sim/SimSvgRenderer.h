#pragma once

#include "platform/SvgRenderer.h"

#include <vector>

namespace rondelix::platform::sim {

// "Draws" by returning a fixed picture, recording each drawing it was let
// draw. A recorded drawing keeps its admission's hold, as one still running
// would.
class SimSvgRenderer final : public SvgRenderer {
  public:
    std::optional<std::string> renderPNG(const std::string& svg, int side, double seconds,
                                         const Admission& admission) override {
        auto hold = admission.ask();
        if (!hold) return std::nullopt;
        drawings.push_back({svg, side, seconds, std::move(*hold)});
        if (fails) return std::nullopt;
        return "svg:" + std::to_string(side);
    }

    struct Drawing {
        std::string svg;
        int side = 0;
        double seconds = 0;
        std::shared_ptr<const void> hold;
    };
    std::vector<Drawing> drawings;
    bool fails = false;
};

} // namespace rondelix::platform::sim
