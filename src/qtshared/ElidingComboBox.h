#pragma once

#include <QComboBox>
#include <QFontMetrics>
#include <QStyleOptionComboBox>
#include <QStylePainter>

namespace rondelix {

// A menu of choices that, narrower than its current choice, shows that choice
// cut at its end; the menu it opens shows every choice whole.
class ElidingComboBox : public QComboBox {
  public:
    using QComboBox::QComboBox;

  protected:
    void paintEvent(QPaintEvent*) override {
        QStylePainter painter(this);
        QStyleOptionComboBox option;
        initStyleOption(&option);
        painter.drawComplexControl(QStyle::CC_ComboBox, option);
        const QRect field =
            style()->subControlRect(QStyle::CC_ComboBox, &option, QStyle::SC_ComboBoxEditField, this);
        const int icon = option.currentIcon.isNull() ? 0 : option.iconSize.width() + 4;
        option.currentText =
            fontMetrics().elidedText(option.currentText, Qt::ElideRight, field.width() - icon - 2);
        painter.drawControl(QStyle::CE_ComboBoxLabel, option);
    }
};

} // namespace rondelix
