#pragma once

// What the view tests check of a window's layout: that every control and
// text in it shows whole.

#include <QAbstractButton>
#include <QLabel>
#include <QScrollArea>
#include <QScrollBar>
#include <QString>
#include <QStringList>
#include <QWidget>

namespace rondelix::testsupport {

inline QString describe(const QWidget& widget) {
    QString name = widget.metaObject()->className();
    if (!widget.objectName().isEmpty()) name += " " + widget.objectName();
    if (const auto* label = qobject_cast<const QLabel*>(&widget))
        name += " \"" + label->text().left(40) + "\"";
    if (const auto* button = qobject_cast<const QAbstractButton*>(&widget))
        name += " \"" + button->text().left(40) + "\"";
    return name;
}

// The visible widgets of `window` that do not show whole, each with why: cut
// by an edge of what holds it (the content of a scroll area may run past its
// top and bottom, not its sides), a text or button narrower or shorter than
// it needs, or a scroll area that has to scroll sideways.
inline QStringList partlyShown(const QWidget& window) {
    QStringList found;
    for (const QWidget* widget : window.findChildren<QWidget*>()) {
        if (!widget->isVisible() || widget->isWindow()) continue;
        const QWidget* holder = widget->parentWidget();
        QRect room = holder->rect();
        if (holder->objectName() == "qt_scrollarea_viewport") {
            room.setTop(widget->geometry().top());
            room.setBottom(widget->geometry().bottom());
        }
        if (!room.contains(widget->geometry()))
            found << describe(*widget) + " is cut by " + describe(*holder);
        const auto* label = qobject_cast<const QLabel*>(widget);
        if (label && label->pixmap().isNull() && !label->text().isEmpty()) {
            if (label->wordWrap() ? label->height() < label->heightForWidth(label->width())
                                  : label->width() < label->minimumSizeHint().width())
                found << describe(*widget) + " has no room for its text";
        }
        const auto* button = qobject_cast<const QAbstractButton*>(widget);
        if (button && (button->width() < button->minimumSizeHint().width() ||
                       button->height() < button->minimumSizeHint().height()))
            found << describe(*widget) + " has no room for its text";
        const auto* scroll = qobject_cast<const QScrollArea*>(widget);
        if (scroll && scroll->horizontalScrollBar()->maximum() > 0)
            found << describe(*widget) + " scrolls sideways";
    }
    return found;
}

} // namespace rondelix::testsupport
