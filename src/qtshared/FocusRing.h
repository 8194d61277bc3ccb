#pragma once

#include <QObject>
#include <QPointer>
#include <vector>

class QWidget;

namespace rondelix {

// A ring around whichever control has the keyboard focus, drawn the same
// way everywhere: the toolkit's own focus looks range from a bold outline to
// a dotted line a shade away from the background, and a flat button has
// none at all. The ring lies just outside the control, in the accent colour
// deepened until it stands out from the window; where the window's edge or a
// scrolled view cuts it off, it runs along the control's own edge instead.
// One per program, alive as long as its windows.
class FocusRing final : public QObject {
  public:
    FocusRing();
    ~FocusRing() override;

    // For a control that shows its focus by a ring of its own.
    static void drawnByControl(QWidget& control);

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    void follow(QWidget* focused);
    void place();
    void unwatch();

    QPointer<QWidget> control_;
    QPointer<QWidget> ring_;
    // The control and the parents between it and the ring's, whose moves
    // and resizes move the control.
    std::vector<QPointer<QWidget>> watched_;
};

} // namespace rondelix
