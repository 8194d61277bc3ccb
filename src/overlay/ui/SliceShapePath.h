#pragma once

#include "overlay/SliceShape.h"

#include <QPainterPath>
#include <QRectF>

namespace rondelix {

// The closed outline of a ring sector about the rectangle's centre. The radii
// are used as they are, whatever the rectangle's size.
QPainterPath sliceShapePath(const SliceShape& shape, const QRectF& rect);

} // namespace rondelix
