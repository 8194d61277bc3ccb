#include "store/FormerWindowTilerBinding.h"

#include <array>
#include <string_view>

namespace rondelix {

void unbindFormerWindowTiler(Config& config) {
    // The gallery gave the first of them found installed, else the first.
    static constexpr std::array<std::string_view, 2> tiler{"com.knollsoft.Rectangle",
                                                           "com.knollsoft.Hookshot"};
    for (Wheel& wheel : config.wheels)
        for (const std::string_view id : tiler)
            if (wheel.appBundleIdentifier == id) wheel.appBundleIdentifier.reset();
}

} // namespace rondelix
