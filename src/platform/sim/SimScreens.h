#pragma once

#include "platform/Screens.h"

namespace rondelix::platform::sim {

// A fixed screen layout that tests set up and change at will.
class SimScreens final : public Screens {
  public:
    std::vector<Screen> screens() const override { return layout; }
    std::optional<Screen> mainScreen() const override {
        if (mainIndex < 0 || static_cast<std::size_t>(mainIndex) >= layout.size()) return std::nullopt;
        return layout[static_cast<std::size_t>(mainIndex)];
    }
    Point pointerLocation() const override { return pointer; }
    void warpPointer(Point to) override { pointer = to; }
    DisplayOptions displayOptions() const override { return options; }

    std::vector<Screen> layout;
    int mainIndex = 0;
    Point pointer;
    DisplayOptions options;
};

} // namespace rondelix::platform::sim
