#pragma once

#include "platform/Images.h"
#include "threads/Gate.h"

namespace rondelix::threads {

// A drawer that says when it has a picture to fit, and fits it only when the
// test lets it.
class HeldImages final : public platform::Images {
  public:
    std::optional<platform::PixelSize> declaredSize(std::string_view) const override { return std::nullopt; }
    std::optional<std::string> drawnAsPNG(std::string_view, int, int,
                                          const platform::Admission&) const override {
        return std::nullopt;
    }
    platform::Fitted fittedAsPNG(std::string_view, int, double, const platform::Admission&,
                                 const platform::DrawingAccount&) const override {
        asked.open();
        drawing.wait();
        return {"drawn"};
    }

    mutable Gate asked, drawing;
};

} // namespace rondelix::threads
