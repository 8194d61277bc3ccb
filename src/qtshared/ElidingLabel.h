#pragma once

#include <QEvent>
#include <QFontMetrics>
#include <QHelpEvent>
#include <QLabel>
#include <QPainter>
#include <QString>
#include <QStyle>
#include <QToolTip>

namespace rondelix {

// One line of plain text that takes the room it is given and never wraps:
// too long for it, the text shows cut with an ellipsis (at its end or in its
// middle) and the whole of it is the tooltip. It asks for the whole text's
// width and makes do with an ellipsis' worth. Its text, which screen readers
// read, stays whole.
class ElidingLabel : public QLabel {
  public:
    explicit ElidingLabel(Qt::TextElideMode mode, QWidget* parent = nullptr) : QLabel(parent), mode_(mode) {
        setTextFormat(Qt::PlainText);
        setWordWrap(false);
    }

    // The text as it shows in the room the label has now.
    QString shownText() const { return fontMetrics().elidedText(text(), mode_, textRoom().width()); }
    bool isElided() const { return shownText() != text(); }

    QSize minimumSizeHint() const override {
        QSize hint = QLabel::sizeHint();
        const QFontMetrics metrics = fontMetrics();
        hint.rwidth() += metrics.horizontalAdvance(QStringLiteral("…")) - metrics.horizontalAdvance(text());
        return hint;
    }

  protected:
    bool event(QEvent* event) override {
        if (event->type() != QEvent::ToolTip || !isElided()) return QLabel::event(event);
        QToolTip::showText(static_cast<QHelpEvent*>(event)->globalPos(), text(), this);
        return true;
    }
    void paintEvent(QPaintEvent*) override {
        QPainter painter(this);
        drawFrame(&painter);
        style()->drawItemText(&painter, textRoom(), static_cast<int>(alignment()), palette(), isEnabled(),
                              shownText(), foregroundRole());
    }

  private:
    QRect textRoom() const { return contentsRect().adjusted(margin(), margin(), -margin(), -margin()); }

    Qt::TextElideMode mode_;
};

} // namespace rondelix
