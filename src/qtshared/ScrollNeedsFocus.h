#pragma once

#include <QEvent>
#include <QObject>
#include <QWidget>

namespace rondelix {

// A picker, slider or spin box that turned at every notch of the mouse wheel
// passing over it would change what the user only scrolled past. It takes
// the wheel only while it has the focus (a click or Tab gives it; a notch
// never does); otherwise the notch goes on to the page around it, which
// scrolls.
class ScrollNeedsFocus : public QObject {
  public:
    static void apply(QWidget& control) {
        control.setFocusPolicy(Qt::StrongFocus);
        control.installEventFilter(new ScrollNeedsFocus(&control));
    }

    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() != QEvent::Wheel || static_cast<QWidget*>(watched)->hasFocus()) return false;
        // Ignored, the event travels on to the parents.
        event->ignore();
        return true;
    }

  private:
    using QObject::QObject;
};

} // namespace rondelix
