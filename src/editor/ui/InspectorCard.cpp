#include "editor/ui/InspectorCard.h"

#include "qtshared/QtColor.h"

#include <QEvent>
#include <QHBoxLayout>
#include <QPainter>
#include <QPainterPath>

namespace rondelix {

namespace {
constexpr int cardPadding = 16;
constexpr double cardRadius = 16;

// A section title's accent text, in the accent deepened (or lightened) as
// far as it takes to read on the card, worked out again whenever the accent
// or the look changes.
class SectionAccent final : public QLabel {
  public:
    SectionAccent() {
        setObjectName("sectionAccent");
        setTextFormat(Qt::PlainText);
        tint();
    }

  protected:
    void changeEvent(QEvent* event) override {
        QLabel::changeEvent(event);
        if (event->type() == QEvent::PaletteChange) tint();
    }

  private:
    void tint() {
        QPalette own = palette();
        const QColor ink =
            readableText(fromQColor(own.color(QPalette::Highlight)), own.color(QPalette::Base));
        if (own.color(QPalette::WindowText) == ink) return;
        own.setColor(QPalette::WindowText, ink);
        setPalette(own);
    }
};
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
        *accent = new SectionAccent;
        QFont accentFont = font;
        accentFont.setWeight(QFont::DemiBold);
        (*accent)->setFont(accentFont);
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
