#include "qtshared/FlowLayout.h"

#include <QWidget>
#include <algorithm>

namespace rondelix {

FlowLayout::FlowLayout(int horizontalSpacing, int verticalSpacing)
    : horizontalSpacing_(horizontalSpacing), verticalSpacing_(verticalSpacing) {}

int FlowLayout::heightForWidth(int width) const {
    return arrange(QRect(0, 0, width, 0), false);
}

QSize FlowLayout::minimumSize() const {
    QSize size;
    for (const QLayoutItem* item : items_)
        if (!item->isEmpty()) size = size.expandedTo(item->minimumSize());
    const QMargins margins = contentsMargins();
    return size + QSize(margins.left() + margins.right(), margins.top() + margins.bottom());
}

QSize FlowLayout::sizeHint() const {
    QSize size;
    for (const QLayoutItem* item : items_) {
        if (item->isEmpty()) continue;
        const QSize hint = item->sizeHint();
        size.rwidth() += (size.width() > 0 ? horizontalSpacing_ : 0) + hint.width();
        size.setHeight(std::max(size.height(), hint.height()));
    }
    const QMargins margins = contentsMargins();
    return size + QSize(margins.left() + margins.right(), margins.top() + margins.bottom());
}

void FlowLayout::setGeometry(const QRect& rect) {
    QLayout::setGeometry(rect);
    arrange(rect, true);
}

int FlowLayout::arrange(const QRect& rect, bool place) const {
    const QRect room = rect.marginsRemoved(contentsMargins());
    int x = room.x();
    int y = room.y();
    int rowHeight = 0;
    for (QLayoutItem* item : items_) {
        if (item->isEmpty()) continue;
        const QSize hint = item->sizeHint().boundedTo(QSize(room.width(), QWIDGETSIZE_MAX));
        if (x > room.x() && x + hint.width() > room.right() + 1) {
            x = room.x();
            y += rowHeight + verticalSpacing_;
            rowHeight = 0;
        }
        if (place) item->setGeometry(QRect(QPoint(x, y), hint));
        x += hint.width() + horizontalSpacing_;
        rowHeight = std::max(rowHeight, hint.height());
    }
    return y + rowHeight - rect.y() + contentsMargins().bottom();
}

} // namespace rondelix
