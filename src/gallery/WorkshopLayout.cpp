#include "gallery/WorkshopLayout.h"

#include <algorithm>

namespace rondelix::WorkshopLayout {

double wheelSize(double width, double height) {
    return std::max(minimumWheelSize, 0.85 * std::min(height - 140, width - 450 - 80));
}

} // namespace rondelix::WorkshopLayout
