#include "editor/ui/WheelPillColumn.h"

#include "icons/ui/SymbolFont.h"

#include <QContextMenuEvent>
#include <QFontMetricsF>
#include <QMenu>
#include <QMouseEvent>
#include <QPainter>
#include <QPainterPath>
#include <algorithm>

namespace rondelix {

namespace {

constexpr double badgeSide = 15;
constexpr double badgeInset = 7;
constexpr double plainInset = 13;
constexpr double trailingInset = 13;
constexpr double verticalInset = 6;
constexpr double badgeGap = 5;

QFont nameFont(const QFont& base) {
    QFont font = base;
    font.setWeight(QFont::Medium);
    return font;
}

QFont badgeFont(const QFont& base) {
    QFont font = base;
    font.setBold(true);
    font.setPointSizeF(base.pointSizeF() * 0.8);
    font.setStyleHint(QFont::Monospace);
    return font;
}

QString badgeText(std::size_t index) {
    return index == 9 ? QStringLiteral("0") : QString::number(index + 1);
}

QRectF toQt(const platform::Rect& r) {
    return {r.x, r.y, r.width, r.height};
}

// How much bigger the pill draws for its state.
double pillScale(bool dragged, bool pressed, bool hovered) {
    if (dragged) return 1.14;
    if (pressed) return 1.05;
    if (hovered) return 1.08;
    return 1.0;
}

} // namespace

WheelPillColumn::WheelPillColumn(QWidget* parent) : QWidget(parent) {
    setMouseTracking(true);
    setFixedWidth(leadingPadding + columnWidth);
    frameTimer_.setInterval(16);
    connect(&frameTimer_, &QTimer::timeout, this, [this] { step(); });
}

void WheelPillColumn::retarget() {
    const auto dragged = draggingPillId(drag_);
    for (auto& [id, motion] : motion_) {
        const bool isDragged = dragged == id;
        motion.scale.setTarget(pillScale(isDragged, drag_.id == id, hovered_ == id));
        motion.x.setTarget(isDragged ? drag_.translation.width : 0);
        motion.y.setTarget(isDragged ? drag_.translation.height : 0);
        // The lifted pill sticks to the pointer; only its return is animated.
        if (isDragged) {
            motion.x.jumpTo(drag_.translation.width);
            motion.y.jumpTo(drag_.translation.height);
        }
    }
    if (!frameTimer_.isActive()) {
        clock_.start();
        frameTimer_.start();
    }
    update();
}

void WheelPillColumn::step() {
    const double seconds = static_cast<double>(clock_.restart()) / 1000.0;
    bool settled = true;
    for (auto& [id, motion] : motion_) {
        for (Spring* spring : {&motion.scale, &motion.x, &motion.y}) {
            spring->advance(seconds);
            settled = settled && spring->isSettled();
        }
    }
    if (settled) frameTimer_.stop();
    update();
}

void WheelPillColumn::setPills(std::vector<Pill> pills, const std::string& selectedId, QColor accent) {
    pills_ = std::move(pills);
    selectedId_ = selectedId;
    accent_ = accent;
    layoutPills();
    update();
}

void WheelPillColumn::layoutPills() {
    std::erase_if(motion_, [this](const auto& entry) {
        return std::none_of(pills_.begin(), pills_.end(), [&](const Pill& p) { return p.id == entry.first; });
    });
    frames_.clear();
    shown_.clear();
    const QFontMetricsF metrics(nameFont(font()));
    const double height = std::ceil(metrics.height()) + 2 * verticalInset;
    double y = topPadding;
    for (std::size_t i = 0; i < pills_.size(); ++i) {
        const double leading = i < badgeCount ? badgeInset + badgeSide + badgeGap : plainInset;
        // Names come from the file as they are; a long one or one with line
        // breaks still takes one line of the column.
        QString name =
            QString::fromUtf8(pills_[i].name.data(), static_cast<qsizetype>(pills_[i].name.size()));
        for (QChar& c : name)
            if (c.category() == QChar::Other_Control) c = QChar(' ');
        const double room = columnWidth - leading - trailingInset;
        name = metrics.elidedText(name, Qt::ElideRight, room);
        const double width = leading + metrics.horizontalAdvance(name) + trailingInset;
        frames_[pills_[i].id] = platform::Rect{leadingPadding, y, std::ceil(width), height};
        motion_.try_emplace(pills_[i].id);
        shown_.push_back(name);
        y += height + spacing;
    }
    height_ = static_cast<int>(y) + 16;
    resize(width(), height_);
    updateGeometry();
}

QString WheelPillColumn::shownName(const std::string& id) const {
    for (std::size_t i = 0; i < pills_.size(); ++i)
        if (pills_[i].id == id) return shown_[i];
    return {};
}

QSize WheelPillColumn::sizeHint() const {
    return {leadingPadding + columnWidth, height_};
}

void WheelPillColumn::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    const auto dragged = draggingPillId(drag_);
    std::optional<std::size_t> lifted;
    for (std::size_t i = 0; i < pills_.size(); ++i) {
        if (dragged && pills_[i].id == *dragged) {
            lifted = i;
            continue;
        }
        paintPill(painter, i);
    }
    // The lifted pill goes over the others.
    if (lifted) paintPill(painter, *lifted);
}

void WheelPillColumn::paintPill(QPainter& painter, std::size_t index) {
    const Pill& pill = pills_[index];
    const QRectF frame = toQt(frames_.at(pill.id));
    const bool selected = pill.id == selectedId_;
    const bool dragged = draggingPillId(drag_) == pill.id;
    const bool dropTarget = pillDropTargetId(drag_, framesAtPress_) == pill.id;
    const QColor primary = palette().color(QPalette::WindowText);

    painter.save();
    const Motion& motion = motion_.at(pill.id);
    const double scale = motion.scale.value();
    painter.translate(motion.x.value(), motion.y.value());
    painter.translate(frame.center());
    painter.scale(scale, scale);
    painter.translate(-frame.center());

    const double radius = frame.height() / 2;
    if (dragged) {
        QPainterPath shadow;
        shadow.addRoundedRect(frame.translated(0, 4), radius, radius);
        painter.fillPath(shadow, QColor(0, 0, 0, 60));
    }
    QPainterPath capsule;
    capsule.addRoundedRect(frame, radius, radius);
    QColor fill = primary;
    fill.setAlphaF(0.12f);
    painter.fillPath(capsule, selected ? accent_ : fill);
    if (dropTarget) {
        painter.setPen(QPen(selected ? QColor(Qt::white) : accent_, 2));
        painter.setBrush(Qt::NoBrush);
        QPainterPath inner;
        inner.addRoundedRect(frame.adjusted(1, 1, -1, -1), radius - 1, radius - 1);
        painter.drawPath(inner);
    }

    const QColor foreground = selected ? QColor(Qt::white) : primary;
    double x = frame.left() + plainInset;
    if (index < badgeCount) {
        x = frame.left() + badgeInset;
        const QRectF badge(x, frame.center().y() - badgeSide / 2, badgeSide, badgeSide);
        QColor circle = selected ? QColor(255, 255, 255) : primary;
        circle.setAlphaF(selected ? 0.22f : 0.1f);
        painter.setPen(Qt::NoPen);
        painter.setBrush(circle);
        painter.drawEllipse(badge);
        painter.setFont(badgeFont(font()));
        QColor badgeColor = selected ? QColor(Qt::white) : palette().color(QPalette::PlaceholderText);
        painter.setPen(badgeColor);
        painter.drawText(badge, Qt::AlignCenter, badgeText(index));
        x += badgeSide + badgeGap;
    }
    painter.setFont(nameFont(font()));
    painter.setPen(foreground);
    painter.drawText(QRectF(x, frame.top(), frame.right() - x, frame.height()),
                     Qt::AlignVCenter | Qt::AlignLeft, shown_[index]);
    painter.restore();
}

std::optional<std::string> WheelPillColumn::pillUnder(QPointF point) const {
    return pillId({point.x(), point.y()}, frames_);
}

void WheelPillColumn::mousePressEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton) return QWidget::mousePressEvent(event);
    const auto id = pillUnder(event->position());
    if (!id) return;
    pressPoint_ = event->position();
    // Hit tests of this gesture use the frames as they were at the press.
    framesAtPress_ = frames_;
    drag_ = PillDrag{id, {}, {pressPoint_.x(), pressPoint_.y()}};
    retarget();
}

void WheelPillColumn::mouseMoveEvent(QMouseEvent* event) {
    if (drag_.id) {
        const QPointF delta = event->position() - pressPoint_;
        drag_.translation = {delta.x(), delta.y()};
        drag_.location = {event->position().x(), event->position().y()};
        retarget();
        return;
    }
    const auto under = pillUnder(event->position());
    if (under != hovered_) {
        hovered_ = under;
        retarget();
    }
}

void WheelPillColumn::mouseReleaseEvent(QMouseEvent* event) {
    if (!drag_.id || event->button() != Qt::LeftButton) return QWidget::mouseReleaseEvent(event);
    const QPointF delta = event->position() - pressPoint_;
    drag_.translation = {delta.x(), delta.y()};
    drag_.location = {event->position().x(), event->position().y()};
    const PillGestureEnd end = endPillGesture(drag_, framesAtPress_);
    drag_ = PillDrag{};
    retarget();
    if (end.kind == PillGestureEnd::Kind::select && onSelect) onSelect(end.wheelId);
    if (end.kind == PillGestureEnd::Kind::move && onDrop) onDrop(end.wheelId, end.targetId);
}

void WheelPillColumn::leaveEvent(QEvent* event) {
    hovered_.reset();
    retarget();
    QWidget::leaveEvent(event);
}

void WheelPillColumn::contextMenuEvent(QContextMenuEvent* event) {
    const auto id = pillUnder(event->pos());
    if (!id) return;
    std::size_t index = 0;
    for (std::size_t i = 0; i < pills_.size(); ++i)
        if (pills_[i].id == *id) {
            index = i;
            break;
        }
    QMenu menu(this);
    const QPalette& colours = menu.palette();
    QAction* up = menu.addAction(SymbolFont::icon("arrow.up", colours, QPalette::WindowText), "Move Up");
    up->setEnabled(index > 0);
    QAction* down =
        menu.addAction(SymbolFont::icon("arrow.down", colours, QPalette::WindowText), "Move Down");
    down->setEnabled(index + 1 < pills_.size());
    menu.addSeparator();
    QAction* exportAction =
        menu.addAction(SymbolFont::icon("square.and.arrow.up", colours, QPalette::WindowText),
                       QString::fromUtf8("Export Wheel\u2026"));
    const std::string wheelId = *id;
    connect(up, &QAction::triggered, this, [this, wheelId] {
        if (onMoveBy) onMoveBy(wheelId, -1);
    });
    connect(down, &QAction::triggered, this, [this, wheelId] {
        if (onMoveBy) onMoveBy(wheelId, 1);
    });
    connect(exportAction, &QAction::triggered, this, [this, wheelId] {
        if (onExport) onExport(wheelId);
    });
    menu.exec(event->globalPos());
}

} // namespace rondelix
