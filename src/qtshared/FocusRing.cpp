#include "qtshared/FocusRing.h"

#include "qtshared/QtColor.h"

#include <QAbstractScrollArea>
#include <QApplication>
#include <QEvent>
#include <QPainter>
#include <QPen>
#include <QWidget>

namespace rondelix {

namespace {

constexpr int ringWidth = 2;
// Between the control's edge and the ring, so a control's own border stays
// its own.
constexpr int ringGap = 1;
constexpr int ringReach = ringWidth + ringGap;
constexpr double ringRadius = 4;
constexpr const char* ownRingProperty = "drawsOwnFocusRing";

class RingView final : public QWidget {
  public:
    RingView() {
        setAttribute(Qt::WA_TransparentForMouseEvents);
        // A splitter or a stack adopts every child it is told of; the ring is
        // nobody's page.
        setAttribute(Qt::WA_NoChildEventsForParent);
        setFocusPolicy(Qt::NoFocus);
    }
    QColor colour;

  protected:
    void paintEvent(QPaintEvent*) override {
        QPainter painter(this);
        painter.setRenderHint(QPainter::Antialiasing);
        painter.setPen(QPen(colour, ringWidth));
        painter.setBrush(Qt::NoBrush);
        const double inset = ringWidth / 2.0;
        painter.drawRoundedRect(QRectF(rect()).adjusted(inset, inset, -inset, -inset), ringRadius,
                                ringRadius);
    }
};

bool wantsRing(const QWidget* control) {
    if (!control || control->isWindow() || !(control->focusPolicy() & Qt::TabFocus)) return false;
    if (control->property(ownRingProperty).toBool()) return false;
    // A combo box's open list is all of its popup and marks its current row.
    return !control->window()->inherits("QComboBoxPrivateContainer");
}

// The ring draws over the control's neighbours, so it lives in the nearest
// parent that shows all of them: the window, or the viewport of the
// scrolled view the control sits in, which cuts it off where the view does.
QWidget* ringParent(QWidget* control) {
    QWidget* previous = control;
    for (QWidget* parent = control->parentWidget(); parent;
         previous = parent, parent = parent->parentWidget()) {
        if (parent->isWindow()) return parent;
        if (auto* scrolled = qobject_cast<QAbstractScrollArea*>(parent);
            scrolled && previous == scrolled->viewport())
            return previous;
    }
    return control->window();
}

} // namespace

FocusRing::FocusRing() {
    connect(qApp, &QApplication::focusChanged, this, [this](QWidget*, QWidget* now) { follow(now); });
    follow(QApplication::focusWidget());
}

FocusRing::~FocusRing() {
    unwatch();
    delete ring_.data();
}

void FocusRing::drawnByControl(QWidget& control) {
    control.setProperty(ownRingProperty, true);
}

void FocusRing::follow(QWidget* focused) {
    unwatch();
    // A control that hands its focus to a part of it is ringed whole.
    QWidget* control = focused;
    while (control && !control->isWindow() && control->parentWidget()->focusProxy() == control)
        control = control->parentWidget();
    control_ = wantsRing(control) ? control : nullptr;
    if (!control_) {
        if (ring_) ring_->hide();
        return;
    }
    QWidget* parent = ringParent(control);
    if (!ring_) ring_ = new RingView;
    if (ring_->parentWidget() != parent) ring_->setParent(parent);
    for (QWidget* w = control; w; w = w == parent ? nullptr : w->parentWidget()) {
        w->installEventFilter(this);
        watched_.emplace_back(w);
    }
    place();
}

void FocusRing::place() {
    if (!control_ || !ring_ || !ring_->parentWidget()) return;
    QWidget* parent = ring_->parentWidget();
    const QRect control(control_->mapTo(parent, QPoint(0, 0)), control_->size());
    const QRect around =
        control.adjusted(-ringReach, -ringReach, ringReach, ringReach).intersected(parent->rect());
    if (!control_->isVisible() || around.isEmpty()) {
        ring_->hide();
        return;
    }
    auto* view = static_cast<RingView*>(ring_.data());
    view->colour = visibleMark(fromQColor(control_->palette().color(QPalette::Active, QPalette::Highlight)),
                               parent->palette().color(QPalette::Active, QPalette::Window));
    view->setGeometry(around);
    view->raise();
    view->show();
    view->update();
}

void FocusRing::unwatch() {
    for (const QPointer<QWidget>& w : watched_)
        if (w) w->removeEventFilter(this);
    watched_.clear();
}

bool FocusRing::eventFilter(QObject*, QEvent* event) {
    switch (event->type()) {
    case QEvent::Move:
    case QEvent::Resize:
    case QEvent::Show:
    case QEvent::Hide:
    case QEvent::PaletteChange:
        place();
        break;
    case QEvent::ParentChange:
        follow(control_);
        break;
    default:
        break;
    }
    return false;
}

} // namespace rondelix
