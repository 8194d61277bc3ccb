#pragma once

#include <QEvent>
#include <QFontMetrics>
#include <QHelpEvent>
#include <QPushButton>
#include <QString>
#include <QStyleOptionButton>
#include <QStylePainter>
#include <QToolTip>

namespace rondelix {

// A push button whose title may be longer than the room it is given: it asks
// for its whole title's width, makes do with an ellipsis' worth, and shows the
// title cut at its end with the whole of it as the tooltip. Its text, which
// screen readers read, stays whole.
class ElidingButton : public QPushButton {
  public:
    explicit ElidingButton(QWidget* parent = nullptr) : QPushButton(parent) {
        // A button does not shrink below its title unless its policy lets it.
        setSizePolicy(QSizePolicy::Preferred, sizePolicy().verticalPolicy());
    }

    // Room for the whole title; with a menu, a gap between it and the arrow,
    // which the style would draw right against the title's end.
    QSize sizeHint() const override {
        QSize hint = QPushButton::sizeHint();
        if (menu()) hint.rwidth() += menuArrowGap;
        return hint;
    }

    // The title as it shows in the room the button has now.
    QString shownText() const {
        const int whole = sizeHint().width();
        if (width() >= whole) return text();
        const QFontMetrics metrics = fontMetrics();
        const int chrome = whole - titleWidth(text());
        return metrics.elidedText(text(), Qt::ElideRight, width() - chrome, Qt::TextShowMnemonic);
    }
    bool isElided() const { return shownText() != text(); }

    QSize minimumSizeHint() const override {
        QSize hint = sizeHint();
        hint.rwidth() += titleWidth(QStringLiteral("…")) - titleWidth(text());
        return hint;
    }

  protected:
    bool event(QEvent* event) override {
        if (event->type() != QEvent::ToolTip || !isElided()) return QPushButton::event(event);
        QToolTip::showText(static_cast<QHelpEvent*>(event)->globalPos(), QString(text()).replace("&&", "&"),
                           this);
        return true;
    }
    void paintEvent(QPaintEvent*) override {
        QStylePainter painter(this);
        QStyleOptionButton option;
        initStyleOption(&option);
        option.text = shownText();
        painter.drawControl(QStyle::CE_PushButton, option);
    }

  private:
    // Shared by both sides of the title, which stays centred beside the arrow.
    static constexpr int menuArrowGap = 12;

    // As the button measures it: "&&" shows as one "&".
    int titleWidth(const QString& title) const {
        return fontMetrics().size(Qt::TextShowMnemonic, title).width();
    }
};

} // namespace rondelix
