#include "qtshared/WindowEdge.h"

#include <QApplication>
#include <QChildEvent>
#include <QEvent>
#include <QPaintEvent>
#include <QPainter>
#include <QRegion>
#include <QWidget>

namespace rondelix {

namespace {

constexpr const char* edgeName = "windowEdge";

// The line is the window's text colour, faint: it reads on light and dark
// windows alike without looking like a control's border.
constexpr double edgeOpacity = 0.45;

class EdgeView final : public QWidget {
  public:
    explicit EdgeView(QWidget& window) : QWidget(&window) {
        setObjectName(edgeName);
        setAttribute(Qt::WA_TransparentForMouseEvents);
        setAttribute(Qt::WA_NoChildEventsForParent);
        setFocusPolicy(Qt::NoFocus);
        follow();
    }

    // Over the whole window and above its content, but shaped to the line:
    // a repaint inside the window (each step of a fade) then leaves the line
    // alone.
    void follow() {
        const QRect whole = parentWidget()->rect();
        setGeometry(whole);
        setMask(QRegion(whole).subtracted(QRegion(whole.adjusted(1, 1, -1, -1))));
        raise();
    }

  protected:
    // Each side only where this repaint reaches: a translucent blend of a
    // hundred rows or more goes to the toolkit's thread pool, and a repaint
    // in a corner of the window would otherwise blend the whole height of
    // the line.
    void paintEvent(QPaintEvent* event) override {
        QPainter painter(this);
        QColor colour = palette().color(QPalette::Active, QPalette::WindowText);
        colour.setAlphaF(static_cast<float>(edgeOpacity));
        const QRect r = rect();
        for (const QRect& side :
             {QRect(r.left(), r.top(), r.width(), 1), QRect(r.left(), r.bottom(), r.width(), 1),
              QRect(r.left(), r.top() + 1, 1, r.height() - 2),
              QRect(r.right(), r.top() + 1, 1, r.height() - 2)})
            painter.fillRect(side & event->rect(), colour);
    }
};

bool framedByManager(const QWidget& window) {
    return window.windowType() == Qt::Window || window.windowType() == Qt::Dialog;
}

bool bare(const QWidget& window) {
    return window.windowFlags().testFlag(Qt::FramelessWindowHint) ||
           window.windowFlags().testFlag(Qt::BypassWindowManagerHint);
}

} // namespace

WindowEdge::WindowEdge(std::function<bool()> windowManagerRuns)
    : windowManagerRuns_(std::move(windowManagerRuns)) {
    QCoreApplication::instance()->installEventFilter(this);
}

WindowEdge::~WindowEdge() {
    if (QCoreApplication::instance()) QCoreApplication::instance()->removeEventFilter(this);
}

bool WindowEdge::eventFilter(QObject* watched, QEvent* event) {
    const auto type = event->type();
    if ((type != QEvent::Show && type != QEvent::Resize && type != QEvent::ChildAdded) ||
        !watched->isWidgetType())
        return false;
    auto* window = static_cast<QWidget*>(watched);
    if (!window->isWindow() || !framedByManager(*window) || bare(*window)) return false;
    auto* edge = window->findChild<EdgeView*>(edgeName, Qt::FindDirectChildrenOnly);
    if (type == QEvent::Show) {
        const bool wanted = !windowManagerRuns_();
        if (wanted && !edge) edge = new EdgeView(*window);
        if (edge) edge->setVisible(wanted);
    }
    // A child added later would lie over the line.
    if (edge && (type != QEvent::ChildAdded || static_cast<QChildEvent*>(event)->child() != edge))
        edge->follow();
    return false;
}

} // namespace rondelix
