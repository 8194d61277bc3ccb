#include "gallery/ui/GalleryListRow.h"

#include <QPainter>
#include <QPainterPath>
#include <QVariantAnimation>

namespace rondelix {

namespace {

constexpr double cornerRadius = 8;
constexpr double selectedFillOpacity = 0.18;
constexpr double fadedOpacity = 0.45;
constexpr int horizontalPadding = 10;
constexpr int verticalPadding = 7;
constexpr int selectionFadeMs = 200;

QFont titleFont(QFont font) {
    font.setWeight(QFont::Medium);
    return font;
}

QFont subtitleFont(QFont font) {
    font.setPointSizeF(font.pointSizeF() * 0.8);
    return font;
}

} // namespace

GalleryListRow::GalleryListRow(const QString& title, QWidget* parent)
    : QAbstractButton(parent), title_(title), fillFade_(new QVariantAnimation(this)) {
    // Kept out of the button's text, which would read an "&" in a catalogue
    // name as a shortcut letter, drop it from what a screen reader hears and
    // bind Alt and the letter after it.
    setAccessibleName(title);
    fillFade_->setDuration(selectionFadeMs);
    fillFade_->setEasingCurve(QEasingCurve::InOutQuad);
    connect(fillFade_, &QVariantAnimation::valueChanged, this, [this](const QVariant& value) {
        fill_ = value.toDouble();
        update();
    });
    setCursor(Qt::PointingHandCursor);
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
}

void GalleryListRow::setSubtitle(const QString& subtitle) {
    subtitle_ = subtitle;
    updateGeometry();
    update();
}

void GalleryListRow::setBadge(const QPixmap& badge, const QString& tooltip) {
    badge_ = badge;
    setToolTip(tooltip);
    setAccessibleDescription(tooltip);
    update();
}

void GalleryListRow::setSelected(bool selected, const QColor& accent) {
    if (selected == selected_ && accent == accent_) return;
    const bool changed = selected != selected_;
    selected_ = selected;
    accent_ = accent;
    fillFade_->stop();
    if (changed && isVisible()) {
        fillFade_->setStartValue(fill_);
        fillFade_->setEndValue(selected ? 1.0 : 0.0);
        fillFade_->start();
    } else {
        fill_ = selected ? 1.0 : 0.0;
    }
    update();
}

void GalleryListRow::setRingShown(bool shown) {
    if (shown == ringShown_) return;
    ringShown_ = shown;
    update();
}

void GalleryListRow::setFaded(bool faded) {
    if (faded == faded_) return;
    faded_ = faded;
    update();
}

QSize GalleryListRow::sizeHint() const {
    int height = QFontMetrics(titleFont(font())).height();
    if (!subtitle_.isEmpty()) height += 1 + QFontMetrics(subtitleFont(font())).height();
    return {120, height + 2 * verticalPadding};
}

void GalleryListRow::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    if (fill_ > 0) {
        QColor fill = accent_;
        fill.setAlphaF(static_cast<float>(selectedFillOpacity * fill_));
        QPainterPath shape;
        shape.addRoundedRect(QRectF(rect()), cornerRadius, cornerRadius);
        painter.fillPath(shape, fill);
    }
    if (ringShown_ && selected_) {
        painter.setPen(QPen(accent_, 2));
        painter.drawRoundedRect(QRectF(rect()).adjusted(1, 1, -1, -1), cornerRadius, cornerRadius);
    }
    if (faded_) painter.setOpacity(fadedOpacity);

    const QRect content =
        rect().adjusted(horizontalPadding, verticalPadding, -horizontalPadding, -verticalPadding);
    int textRight = content.right();
    if (!badge_.isNull()) {
        const QSize size = badge_.deviceIndependentSize().toSize();
        const QPoint at(content.right() - size.width(), content.center().y() - size.height() / 2);
        painter.drawPixmap(at, badge_);
        textRight = at.x() - 6;
    }
    const QFont title = titleFont(font());
    const QFontMetrics titleMetrics(title);
    painter.setFont(title);
    painter.setPen(palette().color(QPalette::WindowText));
    const QRect titleBox(content.left(), content.top(), textRight - content.left(), titleMetrics.height());
    painter.drawText(titleBox, Qt::AlignLeft | Qt::AlignVCenter,
                     titleMetrics.elidedText(title_, Qt::ElideRight, titleBox.width()));
    if (!subtitle_.isEmpty()) {
        painter.setFont(subtitleFont(font()));
        painter.setPen(palette().color(QPalette::PlaceholderText));
        painter.drawText(QRect(content.left(), titleBox.bottom() + 2, titleBox.width(),
                               content.bottom() - titleBox.bottom()),
                         Qt::AlignLeft | Qt::AlignTop, subtitle_);
    }
}

} // namespace rondelix
