#include "qtshared/WindowEdge.h"

#include <QApplication>
#include <QChildEvent>
#include <QEvent>
#include <QPainter>
#include <QPen>
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

    // Over the whole window and above its content.
    void follow() {
        setGeometry(parentWidget()->rect());
        raise();
    }

  protected:
    void paintEvent(QPaintEvent*) override {
        QPainter painter(this);
        QColor colour = palette().color(QPalette::Active, QPalette::WindowText);
        colour.setAlphaF(static_cast<float>(edgeOpacity));
        painter.setPen(QPen(colour, 0));
        painter.setBrush(Qt::NoBrush);
        painter.drawRect(rect().adjusted(0, 0, -1, -1));
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
