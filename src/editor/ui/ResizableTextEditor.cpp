#include "editor/ui/ResizableTextEditor.h"

#include "editor/ui/LongTextEdit.h"
#include "icons/ui/SymbolFont.h"

#include <QFontDatabase>
#include <QLabel>
#include <QMouseEvent>
#include <QVBoxLayout>
#include <algorithm>
#include <cmath>

namespace rondelix {

namespace {

constexpr int gripPadding = 5;
constexpr int gripGlyph = 9;

} // namespace

ResizableTextEditor::ResizableTextEditor(std::function<void(const QString&)> onEdit, int minHeight,
                                         int maxHeight, int startHeight, QWidget* parent)
    : QWidget(parent), onEdit_(std::move(onEdit)), minHeight_(minHeight), maxHeight_(maxHeight),
      height_(startHeight) {
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    edit_ = new LongTextEdit(this);
    edit_->setObjectName(QStringLiteral("resizableText"));
    QFont mono = QFontDatabase::systemFont(QFontDatabase::FixedFont);
    edit_->setFont(mono);
    edit_->setStyleSheet(
        QStringLiteral("QPlainTextEdit { background: palette(base); border: 1px solid palette(mid); "
                       "border-radius: 6px; }"));
    edit_->setFixedHeight(height_);
    // Its lines wrap at its width, which may narrow for a moment while the
    // inspector's scroll bar comes and goes: that must not leave a bar that
    // scrolls sideways.
    edit_->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    layout->addWidget(edit_);

    // Beside the editor rather than inside it, so that nothing the editor
    // lays out (its scroll bar) ever comes over the grip.
    grip_ = new QLabel(this);
    grip_->setObjectName(QStringLiteral("resizeGrip"));
    const int side = gripGlyph + 2 * gripPadding;
    grip_->setFixedSize(side, side);
    grip_->setAlignment(Qt::AlignCenter);
    grip_->setPixmap(SymbolFont::pixmap("arrow.up.left.and.arrow.down.right", gripGlyph + 2,
                                        palette().color(QPalette::PlaceholderText)));
    grip_->setToolTip(tr("Drag to resize"));
    grip_->setCursor(Qt::SizeVerCursor);
    grip_->installEventFilter(this);
    edit_->installEventFilter(this);
    // Once the text overflows, the scroll bar ends above the grip.
    auto* gripRoom = new QWidget;
    gripRoom->setFixedSize(side, side);
    edit_->addScrollBarWidget(gripRoom, Qt::AlignBottom);

    connect(edit_, &QPlainTextEdit::textChanged, this, [this] {
        if (onEdit_) onEdit_(edit_->text());
    });
}

void ResizableTextEditor::setText(const QString& text) {
    edit_->setText(text);
}

QString ResizableTextEditor::text() const {
    return edit_->text();
}

void ResizableTextEditor::setEditorHeight(int height) {
    height_ = std::clamp(height, minHeight_, maxHeight_);
    edit_->setFixedHeight(height_);
}

bool ResizableTextEditor::eventFilter(QObject* watched, QEvent* event) {
    if (watched == edit_ && (event->type() == QEvent::Resize || event->type() == QEvent::Move)) {
        const QRect corner = edit_->geometry();
        grip_->move(corner.right() + 1 - grip_->width(), corner.bottom() + 1 - grip_->height());
        grip_->raise();
        return false;
    }
    if (watched != grip_) return false;
    switch (event->type()) {
    case QEvent::MouseButtonPress: {
        pressY_ = static_cast<QMouseEvent*>(event)->globalPosition().y();
        dragging_ = false;
        return true;
    }
    case QEvent::MouseMove: {
        const double translation = static_cast<QMouseEvent*>(event)->globalPosition().y() - pressY_;
        // A drag starts once it has moved a whole point.
        if (!dragging_ && std::abs(translation) < 1) return true;
        dragging_ = true;
        if (!startHeight_) startHeight_ = height_;
        setEditorHeight(*startHeight_ + static_cast<int>(std::lround(translation)));
        return true;
    }
    case QEvent::MouseButtonRelease:
        startHeight_.reset();
        dragging_ = false;
        return true;
    default:
        return false;
    }
}

} // namespace rondelix
