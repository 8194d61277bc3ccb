#include "editor/ui/InspectorCard.h"

#include <QHBoxLayout>
#include <QPainter>
#include <QPainterPath>

namespace rondelix {

namespace {
constexpr int cardPadding = 16;
constexpr double cardRadius = 16;
} // namespace

InspectorCard::InspectorCard(QWidget* parent) : QFrame(parent) {
    setContentsMargins(cardPadding, cardPadding, cardPadding, cardPadding);
}

void InspectorCard::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    const QRectF area = QRectF(rect()).adjusted(0.5, 0.5, -0.5, -0.5);
    QPainterPath shape;
    shape.addRoundedRect(area, cardRadius, cardRadius);
    painter.fillPath(shape, palette().color(QPalette::Base));
    QColor border = palette().color(QPalette::WindowText);
    border.setAlphaF(0.08f);
    painter.setPen(QPen(border, 1));
    painter.drawPath(shape);
}

InspectorRowLabel::InspectorRowLabel(const QString& text, int topPadding, QWidget* parent)
    : QLabel(text, parent) {
    setTextFormat(Qt::PlainText);
    setFixedWidth(width);
    setAlignment(Qt::AlignRight | Qt::AlignTop);
    setContentsMargins(0, topPadding, 0, 0);
    makeSecondary(this);
}

QHBoxLayout* sectionHeader(const QString& title, QLabel** accent) {
    auto* row = new QHBoxLayout;
    row->setSpacing(6);
    auto* label = new QLabel(title);
    label->setObjectName("sectionTitle");
    QFont font = label->font();
    font.setBold(true);
    font.setPointSizeF(font.pointSizeF() * 0.85);
    font.setLetterSpacing(QFont::AbsoluteSpacing, 0.7);
    label->setFont(font);
    makeSecondary(label);
    row->addWidget(label);
    if (accent) {
        *accent = new QLabel;
        (*accent)->setObjectName("sectionAccent");
        (*accent)->setTextFormat(Qt::PlainText);
        QFont accentFont = font;
        accentFont.setWeight(QFont::DemiBold);
        (*accent)->setFont(accentFont);
        QPalette tint = (*accent)->palette();
        tint.setColor(QPalette::WindowText, tint.color(QPalette::Highlight));
        (*accent)->setPalette(tint);
        row->addWidget(*accent);
    }
    row->addStretch();
    return row;
}

void makeSecondary(QWidget* widget) {
    QPalette secondary = widget->palette();
    secondary.setColor(QPalette::WindowText, secondary.color(QPalette::PlaceholderText));
    widget->setPalette(secondary);
}

} // namespace rondelix
