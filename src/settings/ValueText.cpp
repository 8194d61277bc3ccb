#include "settings/ValueText.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace rondelix::ValueText {

std::string pixels(double points) {
    return std::to_string(std::llround(points)) + " px";
}

std::string percent(double fraction) {
    return std::to_string(std::llround(fraction * 100)) + "%";
}

std::string milliseconds(int ms) {
    return std::to_string(ms) + " ms";
}

int truncatedMilliseconds(double value) {
    if (std::isnan(value)) return 0;
    constexpr double lowest = std::numeric_limits<int>::min();
    constexpr double highest = std::numeric_limits<int>::max();
    return static_cast<int>(std::trunc(std::clamp(value, lowest, highest)));
}

} // namespace rondelix::ValueText
