#pragma once

#include <QColor>
#include <QRectF>

class QPainter;

namespace rondelix {

// The program's own mark: a small wheel of six sectors around a hub, its top
// sector aimed. Drawn in one colour, so it takes the label's colour.
void paintProgramMark(QPainter& painter, const QRectF& square, const QColor& color);

} // namespace rondelix
