#pragma once

#include <QObject>

class QWidget;

namespace rondelix {

// Shows the pointing-hand cursor while the pointer is over a widget. The
// cursor it pushed is popped exactly once: on leaving, on hiding, or when the
// widget goes away while hovered.
class PointingHandOnHover : public QObject {
  public:
    // Attaches itself to the widget and lives as long as it.
    explicit PointingHandOnHover(QWidget* widget);
    ~PointingHandOnHover() override;

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    void pop();
    bool pushed_ = false;
};

} // namespace rondelix
