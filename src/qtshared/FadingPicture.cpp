#include "qtshared/FadingPicture.h"

#include <QPainter>
#include <QPropertyAnimation>

namespace rondelix {

FadingPicture::FadingPicture(QPixmap picture, QWidget& over) : QWidget(&over), picture_(std::move(picture)) {
    setAttribute(Qt::WA_TransparentForMouseEvents);
    setGeometry(over.rect());
    show();
    raise();
}

QPropertyAnimation* FadingPicture::fadeOut(int durationMs, const QEasingCurve& curve) {
    auto* fade = new QPropertyAnimation(this, "opacity", this);
    fade->setDuration(durationMs);
    fade->setStartValue(opacity_);
    fade->setEndValue(0.0);
    fade->setEasingCurve(curve);
    connect(fade, &QPropertyAnimation::finished, this, &QObject::deleteLater);
    fade->start(QAbstractAnimation::DeleteWhenStopped);
    return fade;
}

void FadingPicture::setOpacity(double opacity) {
    if (opacity == opacity_) return;
    opacity_ = opacity;
    update();
}

void FadingPicture::paintEvent(QPaintEvent*) {
    if (opacity_ <= 0) return;
    QPainter painter(this);
    painter.setOpacity(opacity_);
    painter.drawPixmap(0, 0, picture_);
}

} // namespace rondelix
