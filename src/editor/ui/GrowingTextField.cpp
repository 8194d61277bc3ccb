#include "editor/ui/GrowingTextField.h"

#include "util/EnteredText.h"

#include <QAbstractTextDocumentLayout>
#include <QFocusEvent>
#include <QMimeData>
#include <QScrollBar>
#include <QTextBlock>
#include <algorithm>
#include <cmath>

namespace rondelix {

namespace {

constexpr int smallestHeight = 22;
constexpr int verticalInset = 4;
constexpr int horizontalInset = 3;

} // namespace

GrowingTextField::GrowingTextField(std::function<void(const QString&)> onEdit, QWidget* parent)
    : LongTextEdit(parent), onEdit_(std::move(onEdit)) {
    setObjectName(QStringLiteral("growingField"));
    setFrameShape(QFrame::NoFrame);
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setLineWrapMode(QPlainTextEdit::WidgetWidth);
    // Return makes a second line; Tab moves on through the form.
    setTabChangesFocus(true);
    setViewportMargins(horizontalInset, verticalInset, horizontalInset, verticalInset);
    document()->setDocumentMargin(2);
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
    viewport()->setAutoFillBackground(false);
    setStyleSheet(QStringLiteral("QPlainTextEdit { background: transparent; }"));
    connect(this, &QPlainTextEdit::textChanged, this, [this] {
        fitHeight();
        if (onEdit_) onEdit_(text());
    });
    fitHeight();
}

void GrowingTextField::setText(const QString& text) {
    if (LongTextEdit::setText(text)) fitHeight();
}

void GrowingTextField::focusInEvent(QFocusEvent* event) {
    LongTextEdit::focusInEvent(event);
    const Qt::FocusReason reason = event->reason();
    const bool byKeys =
        reason == Qt::TabFocusReason || reason == Qt::BacktabFocusReason || reason == Qt::ShortcutFocusReason;
    if (byKeys && !textCursor().hasSelection()) selectAll();
}

int GrowingTextField::contentHeight() const {
    int lines = 0;
    QAbstractTextDocumentLayout* layout = document()->documentLayout();
    for (QTextBlock block = document()->firstBlock(); block.isValid(); block = block.next()) {
        // Lays out a paragraph that has not been yet, as one pasted off
        // screen; the ones laid out already are kept.
        layout->blockBoundingRect(block);
        lines += std::max(1, block.layout() ? block.layout()->lineCount() : 1);
    }
    const int lineHeight = fontMetrics().lineSpacing();
    const int height =
        lines * lineHeight + 2 * static_cast<int>(document()->documentMargin()) + 2 * verticalInset;
    return std::max(smallestHeight, height);
}

void GrowingTextField::fitHeight() {
    const int height = contentHeight();
    if (height != this->height()) {
        setFixedHeight(height);
        updateGeometry();
    }
    // The field shows all its lines, so it never scrolls itself: a paste
    // that did while it was still short would hide its first lines.
    verticalScrollBar()->setValue(0);
}

QSize GrowingTextField::sizeHint() const {
    return {QPlainTextEdit::sizeHint().width(), contentHeight()};
}

QSize GrowingTextField::minimumSizeHint() const {
    return {QPlainTextEdit::minimumSizeHint().width(), contentHeight()};
}

void GrowingTextField::insertFromMimeData(const QMimeData* source) {
    if (!source->hasText()) return LongTextEdit::insertFromMimeData(source);
    QMimeData entered;
    entered.setText(QString::fromStdString(enteredText(source->text().toStdString(), true)));
    LongTextEdit::insertFromMimeData(&entered);
}

void GrowingTextField::resizeEvent(QResizeEvent* event) {
    LongTextEdit::resizeEvent(event);
    // A new width rewraps the lines.
    fitHeight();
}

} // namespace rondelix
