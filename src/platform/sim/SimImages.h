#pragma once

#include "platform/Images.h"

#include <cstdint>
#include <vector>

namespace rondelix::platform::sim {

// Reads only the size in a PNG header and "draws" by writing a bare PNG
// header of the requested size, recording each drawing it was asked for.
class SimImages final : public Images {
  public:
    struct Drawing {
        std::string source;
        int width = 0;
        int height = 0;
    };

    // The PNG signature and an IHDR chunk declaring this size; enough for
    // declaredSize, and no pixels at all.
    static std::string pngHeader(std::uint32_t width, std::uint32_t height);

    std::optional<PixelSize> declaredSize(std::string_view bytes) const override;
    std::optional<std::string> drawnAsPNG(std::string_view bytes, int width, int height,
                                          const Admission& admission) const override;

    // Fitted under an account as the drawer fits them: each drawing takes
    // `drawingSeconds`, and one longer than `deadline` or than what is left
    // of the account's budget is given up on there, for its cost.
    Fitted fittedAsPNG(std::string_view bytes, int maxEdge, double largestSide, const Admission& admission,
                       const DrawingAccount& account) const override;

    bool drawingFails = false;
    double drawingSeconds = 0;
    double deadline = 6;
    mutable std::vector<Drawing> drawings;
};

} // namespace rondelix::platform::sim
