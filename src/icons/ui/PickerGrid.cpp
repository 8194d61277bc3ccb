#include "icons/ui/PickerGrid.h"

#include <QKeyEvent>
#include <QLineEdit>
#include <QPainter>

namespace rondelix {

namespace {

constexpr double cornerRadius = 6;
constexpr double ringWidth = 2;

} // namespace

PickerGrid::PickerGrid(QSize cell, QWidget* parent) : QListView(parent) {
    setViewMode(QListView::IconMode);
    setMovement(QListView::Static);
    setResizeMode(QListView::Adjust);
    setUniformItemSizes(true);
    setGridSize(cell);
    setFrameShape(QFrame::NoFrame);
    setMouseTracking(true);
    // A pick closes the picker at once; nothing stays selected.
    setSelectionMode(QAbstractItemView::NoSelection);
    setFocusPolicy(Qt::StrongFocus);
    connect(this, &QListView::clicked, this, &PickerGrid::picked);
}

void PickerGrid::enterFrom(QLineEdit* field) {
    if (field_) field_->removeEventFilter(this);
    field_ = field;
    field_->installEventFilter(this);
}

void PickerGrid::keyPressEvent(QKeyEvent* event) {
    switch (event->key()) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
    case Qt::Key_Space:
        if (event->modifiers() & ~Qt::KeypadModifier) break;
        if (currentIndex().isValid()) Q_EMIT picked(currentIndex());
        event->accept();
        return;
    default:
        break;
    }
    QListView::keyPressEvent(event);
}

bool PickerGrid::eventFilter(QObject* watched, QEvent* event) {
    if (watched == field_ && event->type() == QEvent::KeyPress &&
        static_cast<QKeyEvent*>(event)->key() == Qt::Key_Down && model() && model()->rowCount() > 0) {
        if (!currentIndex().isValid()) setCurrentIndex(model()->index(0, 0));
        setFocus(Qt::TabFocusReason);
        return true;
    }
    return QListView::eventFilter(watched, event);
}

void PickerGrid::paintCell(QPainter& painter, const QStyleOptionViewItem& option, const QRectF& cell) {
    const QColor highlight = option.palette.color(QPalette::Highlight);
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    const bool current = option.state & QStyle::State_HasFocus;
    if (current || option.state & QStyle::State_MouseOver) {
        QColor fill = highlight;
        fill.setAlphaF(current ? 0.28f : 0.18f);
        painter.setPen(Qt::NoPen);
        painter.setBrush(fill);
        painter.drawRoundedRect(cell, cornerRadius, cornerRadius);
    }
    if (current) {
        painter.setPen(QPen(highlight, ringWidth));
        painter.setBrush(Qt::NoBrush);
        const double inset = ringWidth / 2;
        painter.drawRoundedRect(cell.adjusted(inset, inset, -inset, -inset), cornerRadius, cornerRadius);
    }
    painter.restore();
}

} // namespace rondelix
