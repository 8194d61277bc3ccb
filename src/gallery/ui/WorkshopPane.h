#pragma once

#include <QWidget>

namespace rondelix {

// A page the wheel workshop holds. The workshop asks it to draw its wheel in
// a square of the workshop's wheel size, and where that square is, so that
// the wheel can fly from one page's square to the other's.
class WorkshopPane : public QWidget {
  public:
    using QWidget::QWidget;
    virtual void setWheelSize(double side) = 0;
    // The widget of the square; null while the page shows no wheel.
    virtual QWidget* wheelSquare() const = 0;
};

} // namespace rondelix
