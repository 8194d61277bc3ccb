#include "editor/ui/GlowSpill.h"

#include "editor/ui/PreviewWheel.h"
#include "overlay/ui/WheelGraphic.h"

#include <QEvent>
#include <QPainter>
#include <cmath>

namespace rondelix {

GlowSpill::GlowSpill(PreviewWheel& preview) : QWidget(preview.parentWidget()), preview_(preview) {
    setAttribute(Qt::WA_TransparentForMouseEvents);
    setAttribute(Qt::WA_TranslucentBackground);
    stackUnder(&preview_);
    preview_.installEventFilter(this);
    preview_.graphic().installEventFilter(this);
    follow();
}

void GlowSpill::follow() {
    const int spill = static_cast<int>(std::ceil(preview_.graphic().glowSpill()));
    const QRect around = preview_.geometry().adjusted(-spill, -spill, spill, spill);
    if (geometry() != around) setGeometry(around);
    setVisible(preview_.isVisible());
    stackUnder(&preview_);
}

QRegion GlowSpill::aroundTheSquare() const {
    return QRegion(rect()) - QRegion(QRect(preview_.pos() - pos(), preview_.size()));
}

bool GlowSpill::eventFilter(QObject* watched, QEvent* event) {
    switch (event->type()) {
    case QEvent::Move:
    case QEvent::Resize:
    case QEvent::Show:
    case QEvent::Hide:
        if (watched == &preview_) follow();
        break;
    case QEvent::Paint:
        // Only around the square, so the preview is not drawn again, and
        // only while there is a glow to draw or to clear.
        if (watched == &preview_.graphic() && (drewGlow_ || preview_.graphic().glows()))
            update(aroundTheSquare());
        break;
    default:
        break;
    }
    return QWidget::eventFilter(watched, event);
}

void GlowSpill::paintEvent(QPaintEvent*) {
    drewGlow_ = preview_.graphic().glows();
    if (!drewGlow_) return;
    QPainter painter(this);
    painter.setClipRegion(aroundTheSquare());
    painter.translate(preview_.graphic().mapTo(&preview_, QPoint()) + preview_.pos() - pos());
    preview_.graphic().paintGlow(painter);
}

} // namespace rondelix
