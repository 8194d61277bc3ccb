#include "app/ui/ReadableStyle.h"

#include "qtshared/QtColor.h"

#include <QApplication>
#include <QPainter>
#include <QStyleFactory>
#include <QStyleOption>

namespace rondelix {

namespace {

// The style's own edge, a shade darker than the window, taken just as far
// towards the text as it needs to stand out from the window, from the base,
// and from the shade darker that group boxes lay over the window.
QColor visibleEdge(const QPalette& palette) {
    const QColor window = palette.color(QPalette::Window);
    Color edge = fromQColor(window.darker(140));
    for (const QColor& ground : {window, palette.color(QPalette::Base), window.darker(110)})
        edge = fromQColor(visibleMark(edge, ground));
    return toQColor(edge);
}

// Draws a one-pixel outline on the same half pixels the style draws its own.
void outline(QPainter& painter, const QRect& rect, const QColor& colour, double radius) {
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing, true);
    painter.translate(0.5, 0.5);
    painter.setPen(colour);
    painter.setBrush(Qt::NoBrush);
    painter.drawRoundedRect(rect.adjusted(0, 0, -1, -1), radius, radius);
    painter.restore();
}

} // namespace

void ReadableStyle::install() {
    if (QApplication::style()->name().compare("fusion", Qt::CaseInsensitive) != 0) return;
    QApplication::setStyle(new ReadableStyle(QStyleFactory::create("fusion")));
}

void ReadableStyle::drawPrimitive(PrimitiveElement element, const QStyleOption* option, QPainter* painter,
                                  const QWidget* widget) const {
    const bool focused = option->state & State_HasFocus;
    if (element == PE_FrameFocusRect && option->state & State_Item) {
        // A selected row shows the focus by its selection already.
        if (!(option->state & State_Selected))
            outline(*painter, option->rect,
                    visibleMark(fromQColor(option->palette.color(QPalette::Highlight)),
                                option->palette.color(QPalette::Base)),
                    1);
        return;
    }
    QProxyStyle::drawPrimitive(element, option, painter, widget);
    if (element == PE_IndicatorCheckBox && !(focused && option->state & State_KeyboardFocusChange))
        outline(*painter, option->rect, visibleEdge(option->palette), 0);
    else if (element == PE_FrameLineEdit && !focused)
        outline(*painter, option->rect, visibleEdge(option->palette), 2);
}

} // namespace rondelix
