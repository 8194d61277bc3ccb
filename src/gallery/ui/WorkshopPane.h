#pragma once

class QWidget;

namespace rondelix {

// What the wheel workshop asks of each page it holds: to draw its wheel in a
// square of the workshop's wheel size, and where that square is, so that the
// wheel can fly from one page's square to the other's.
class WorkshopPane {
  public:
    virtual ~WorkshopPane() = default;
    virtual void setWheelSize(double side) = 0;
    // The widget of the square; null while the page shows no wheel.
    virtual QWidget* wheelSquare() const = 0;
};

} // namespace rondelix
