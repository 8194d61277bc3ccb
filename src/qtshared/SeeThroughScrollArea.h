#pragma once

#include <QScrollArea>
#include <QWidget>

namespace rondelix {

// Lets the window's backdrop show through a scroll area. Qt fills the area's
// viewport and the widget it holds with the window colour, which the window
// paints anyway; under glass those fills would stand as opaque boxes in a
// see-through window. Call it after the area was given its widget.
inline void makeSeeThrough(QScrollArea& area) {
    area.viewport()->setAutoFillBackground(false);
    if (QWidget* content = area.widget()) content->setAutoFillBackground(false);
}

} // namespace rondelix
