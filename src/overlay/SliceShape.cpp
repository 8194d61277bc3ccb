#include "overlay/SliceShape.h"

#include <numbers>

namespace rondelix {

double SliceShape::step() const {
    return isDrawable() ? 2 * std::numbers::pi / count : 0;
}

double SliceShape::midAngle() const {
    return step() * position - std::numbers::pi / 2;
}

} // namespace rondelix
