#include "editor/ui/WheelPillColumn.h"

#include "icons/ui/SymbolFont.h"
#include "qtshared/FocusRing.h"
#include "qtshared/QtColor.h"

#include <QContextMenuEvent>
#include <QFontMetricsF>
#include <QKeyEvent>
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
constexpr double focusRingGap = 2;
constexpr double focusRingWidth = 2;

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

// Only the start of a name is shaped: far more than the column can show, and
// a name of megabytes costs no more than a short one.
constexpr std::size_t shapedNameBytes = 512;

// The length of the longest start of the text of at most `limit` bytes that
// ends between two UTF-8 sequences.
std::size_t utf8Prefix(const std::string& text, std::size_t limit) {
    if (text.size() <= limit) return text.size();
    std::size_t cut = limit;
    while (cut > 0 && (static_cast<unsigned char>(text[cut]) & 0xC0) == 0x80)
        --cut;
    return cut;
}

} // namespace

bool WheelPillColumn::Motion::atRest() const {
    return scale.target() == 1 && x.target() == 0 && y.target() == 0 && scale.isSettled() && x.isSettled() &&
           y.isSettled();
}

WheelPillColumn::WheelPillColumn(QWidget* parent) : QWidget(parent) {
    setMouseTracking(true);
    setFocusPolicy(Qt::StrongFocus);
    FocusRing::drawnByControl(*this);
    // Before anything asks the accessibility layer about the widget.
    AccessibleItems::install();
    setAccessibleName("Wheels");
    setFixedWidth(leadingPadding + columnWidth);
    frameTimer_.setInterval(16);
    connect(&frameTimer_, &QTimer::timeout, this, [this] { step(); });
}

void WheelPillColumn::retarget() {
    const auto dragged = draggingPillId(drag_);
    // A pill that leaves its rest gets its springs; they go once it is back.
    for (const auto& id : {dragged, drag_.id, hovered_})
        if (id) motion_.try_emplace(*id);
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
    if (reduceMotion && reduceMotion()) {
        for (auto& [id, motion] : motion_)
            for (Spring* spring : {&motion.scale, &motion.x, &motion.y})
                spring->jumpTo(spring->target());
        std::erase_if(motion_, [](const auto& entry) { return entry.second.atRest(); });
        frameTimer_.stop();
        update();
        return;
    }
    if (!frameTimer_.isActive()) {
        clock_.start();
        frameTimer_.start();
    }
    update();
}

void WheelPillColumn::step() {
    const double seconds = static_cast<double>(clock_.restart()) / 1000.0;
    for (auto& [id, motion] : motion_)
        for (Spring* spring : {&motion.scale, &motion.x, &motion.y})
            spring->advance(seconds);
    std::erase_if(motion_, [](const auto& entry) { return entry.second.atRest(); });
    const bool settled = std::all_of(motion_.begin(), motion_.end(), [](const auto& entry) {
        const Motion& m = entry.second;
        return m.scale.isSettled() && m.x.isSettled() && m.y.isSettled();
    });
    if (settled) frameTimer_.stop();
    update();
}

void WheelPillColumn::showWheels(const std::vector<Wheel>& wheels, const std::string& selectedId,
                                 QColor accent, std::optional<std::size_t> onlyChanged) {
    const bool moved = selectedId != selectedId_;
    const bool one = onlyChanged && *onlyChanged < wheels.size() && pills_.size() == wheels.size();
    const std::size_t first = one ? *onlyChanged : 0;
    const std::size_t end = one ? first + 1 : wheels.size();
    pills_.resize(wheels.size());
    for (std::size_t i = first; i < end; ++i) {
        if (pills_[i].id != wheels[i].id) pills_[i].id = wheels[i].id;
        if (pills_[i].name != wheels[i].name) pills_[i].name = wheels[i].name;
    }
    selectedId_ = selectedId;
    accent_ = accent;
    layoutPills();
    update();
    if (moved) AccessibleItems::selectionMoved(*this, accessibleSelectedItem());
}

void WheelPillColumn::layoutPills() {
    std::erase_if(motion_, [this](const auto& entry) { return !indexOf(entry.first); });
    pillHeight_ = std::ceil(QFontMetricsF(nameFont(font())).height()) + 2 * verticalInset;
    height_ = static_cast<int>(topPadding + static_cast<double>(pills_.size()) * pitch()) + 16;
    resize(width(), height_);
    updateGeometry();
}

void WheelPillColumn::changeEvent(QEvent* event) {
    if (event->type() == QEvent::FontChange) {
        shown_.clear();
        layoutPills();
    }
    QWidget::changeEvent(event);
}

std::optional<std::size_t> WheelPillColumn::indexOf(const std::string& id) const {
    const auto found =
        std::find_if(pills_.begin(), pills_.end(), [&id](const Pill& p) { return p.id == id; });
    if (found == pills_.end()) return std::nullopt;
    return static_cast<std::size_t>(found - pills_.begin());
}

const WheelPillColumn::Shown& WheelPillColumn::shownAt(std::size_t index) const {
    const bool badged = index < badgeCount;
    const std::string& name = pills_[index].name;
    const std::size_t shaped = utf8Prefix(name, shapedNameBytes);
    std::string key(1, badged ? 'b' : 'p');
    key.append(name, 0, shaped);
    if (const auto found = shown_.find(key); found != shown_.end()) return found->second;

    // Names come from the file as they are; a long one or one with line
    // breaks still takes one line of the column.
    QString text = QString::fromUtf8(name.data(), static_cast<qsizetype>(shaped));
    if (shaped < name.size()) text += QChar(0x2026);
    for (QChar& c : text)
        if (c.category() == QChar::Other_Control) c = QChar(' ');
    const QFontMetricsF metrics(nameFont(font()));
    const double leading = badged ? badgeInset + badgeSide + badgeGap : plainInset;
    text = metrics.elidedText(text, Qt::ElideRight, columnWidth - leading - trailingInset);
    const double width = std::ceil(leading + metrics.horizontalAdvance(text) + trailingInset);
    return shown_.emplace(std::move(key), Shown{std::move(text), width}).first->second;
}

platform::Rect WheelPillColumn::frameAt(std::size_t index) const {
    return {leadingPadding, topPadding + static_cast<double>(index) * pitch(), shownAt(index).width,
            pillHeight_};
}

std::optional<platform::Rect> WheelPillColumn::frame(const std::string& id) const {
    const auto index = indexOf(id);
    if (!index) return std::nullopt;
    return frameAt(*index);
}

QString WheelPillColumn::shownName(const std::string& id) const {
    const auto index = indexOf(id);
    return index ? shownAt(*index).text : QString();
}

std::pair<std::size_t, std::size_t> WheelPillColumn::rowsBetween(double top, double bottom) const {
    const auto row = [this](double y) {
        const double at = std::floor((y - topPadding) / pitch());
        return static_cast<std::size_t>(std::clamp(at, 0.0, static_cast<double>(pills_.size())));
    };
    return {row(top), std::min(pills_.size(), row(bottom) + 1)};
}

PillFrames WheelPillColumn::framesInSight() const {
    // The column scrolls inside its parent: what lies outside the parent is
    // out of reach of the pointer too.
    QRect sight = rect();
    if (const QWidget* holder = parentWidget()) sight &= holder->rect().translated(-pos());
    PillFrames frames;
    const auto [first, end] = rowsBetween(sight.top(), sight.bottom());
    for (std::size_t i = first; i < end; ++i)
        frames[pills_[i].id] = frameAt(i);
    return frames;
}

int WheelPillColumn::accessibleItemCount() const {
    return static_cast<int>(pills_.size());
}

QString WheelPillColumn::accessibleItemName(int index) const {
    const std::string& name = pills_.at(static_cast<std::size_t>(index)).name;
    return QString::fromUtf8(name.data(), static_cast<qsizetype>(utf8Prefix(name, shapedNameBytes)));
}

QRect WheelPillColumn::accessibleItemRect(int index) const {
    return toQt(frameAt(static_cast<std::size_t>(index))).toAlignedRect();
}

int WheelPillColumn::accessibleSelectedItem() const {
    const auto index = indexOf(selectedId_);
    return index ? static_cast<int>(*index) : -1;
}

QSize WheelPillColumn::sizeHint() const {
    return {leadingPadding + columnWidth, height_};
}

void WheelPillColumn::paintEvent(QPaintEvent* event) {
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    const auto dragged = draggingPillId(drag_);
    std::optional<std::size_t> lifted;
    // A scaled pill reaches a little past its row.
    const QRect area = event->rect().adjusted(0, -spacing, 0, spacing);
    const auto [first, end] = rowsBetween(area.top(), area.bottom());
    for (std::size_t i = first; i < end; ++i) {
        if (dragged && pills_[i].id == *dragged) continue;
        paintPill(painter, i);
    }
    // The lifted pill goes over the others, wherever it was dragged from.
    if (dragged) lifted = indexOf(*dragged);
    if (lifted) paintPill(painter, *lifted);
}

void WheelPillColumn::paintPill(QPainter& painter, std::size_t index) {
    const Pill& pill = pills_[index];
    const QRectF frame = toQt(frameAt(index));
    const bool selected = pill.id == selectedId_;
    const bool dragged = draggingPillId(drag_) == pill.id;
    const bool dropTarget = pillDropTargetId(drag_, framesAtPress_) == pill.id;
    const QColor primary = palette().color(QPalette::WindowText);

    painter.save();
    static const Motion atRest;
    const auto moving = motion_.find(pill.id);
    const Motion& motion = moving == motion_.end() ? atRest : moving->second;
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
    // The selected pill is filled with the accent, its words in whichever of
    // near black and white suits it, the accent deepened as far as they need.
    const AccentFill onAccent = accentFill(fromQColor(accent_));
    QPainterPath capsule;
    capsule.addRoundedRect(frame, radius, radius);
    QColor fill = primary;
    fill.setAlphaF(0.12f);
    painter.fillPath(capsule, selected ? onAccent.fill : fill);
    if (selected && hasFocus()) {
        const double out = focusRingGap + focusRingWidth / 2;
        painter.setPen(QPen(accentMark(palette()), focusRingWidth));
        painter.setBrush(Qt::NoBrush);
        painter.drawRoundedRect(frame.adjusted(-out, -out, out, out), radius + out, radius + out);
    }
    if (dropTarget) {
        painter.setPen(QPen(selected ? onAccent.text
                                     : visibleMark(fromQColor(accent_), palette().color(QPalette::Window)),
                            2));
        painter.setBrush(Qt::NoBrush);
        QPainterPath inner;
        inner.addRoundedRect(frame.adjusted(1, 1, -1, -1), radius - 1, radius - 1);
        painter.drawPath(inner);
    }

    const QColor foreground = selected ? onAccent.text : primary;
    double x = frame.left() + plainInset;
    if (index < badgeCount) {
        x = frame.left() + badgeInset;
        const QRectF badge(x, frame.center().y() - badgeSide / 2, badgeSide, badgeSide);
        QColor circle = primary;
        circle.setAlphaF(0.1f);
        if (selected) {
            // The words' colour at a fifth over the fill, held back as far as
            // the number on it needs to read.
            const Color text = fromQColor(onAccent.text);
            circle = toQColor(readableOn(mixed(fromQColor(onAccent.fill), text, 0.22), text));
        }
        painter.setPen(Qt::NoPen);
        painter.setBrush(circle);
        painter.drawEllipse(badge);
        painter.setFont(badgeFont(font()));
        painter.setPen(selected ? onAccent.text : palette().color(QPalette::PlaceholderText));
        painter.drawText(badge, Qt::AlignCenter, badgeText(index));
        x += badgeSide + badgeGap;
    }
    painter.setFont(nameFont(font()));
    painter.setPen(foreground);
    painter.drawText(QRectF(x, frame.top(), frame.right() - x, frame.height()),
                     Qt::AlignVCenter | Qt::AlignLeft, shownAt(index).text);
    painter.restore();
}

std::optional<std::size_t> WheelPillColumn::indexUnder(QPointF point) const {
    const auto [first, end] = rowsBetween(point.y(), point.y());
    for (std::size_t i = first; i < end; ++i)
        if (pillId({point.x(), point.y()}, {{pills_[i].id, frameAt(i)}})) return i;
    return std::nullopt;
}

std::optional<std::string> WheelPillColumn::pillUnder(QPointF point) const {
    const auto index = indexUnder(point);
    if (!index) return std::nullopt;
    return pills_[*index].id;
}

void WheelPillColumn::mousePressEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton) return QWidget::mousePressEvent(event);
    const auto id = pillUnder(event->position());
    if (!id) return;
    pressPoint_ = event->position();
    // Hit tests of this gesture use the frames in sight as they were at the press.
    framesAtPress_ = framesInSight();
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
    if (event->reason() == QContextMenuEvent::Keyboard) return showMenuOfSelected();
    if (const auto under = indexUnder(event->pos())) showMenu(*under, event->globalPos());
}

void WheelPillColumn::keyPressEvent(QKeyEvent* event) {
    const auto index = indexOf(selectedId_);
    const bool plain = !(event->modifiers() & ~Qt::KeypadModifier);
    if (plain && (event->key() == Qt::Key_Up || event->key() == Qt::Key_Down) && index) {
        const std::size_t next = event->key() == Qt::Key_Up ? (*index > 0 ? *index - 1 : 0)
                                                            : std::min(*index + 1, pills_.size() - 1);
        if (next != *index && onSelect) onSelect(pills_[next].id);
        return event->accept();
    }
    if (event->key() == Qt::Key_F10 && event->modifiers() == Qt::ShiftModifier) return showMenuOfSelected();
    QWidget::keyPressEvent(event);
}

void WheelPillColumn::focusInEvent(QFocusEvent* event) {
    QWidget::focusInEvent(event);
    update();
}

void WheelPillColumn::focusOutEvent(QFocusEvent* event) {
    QWidget::focusOutEvent(event);
    update();
}

// From the keyboard the menu drops from the selected pill's lower left.
void WheelPillColumn::showMenuOfSelected() {
    const auto index = indexOf(selectedId_);
    if (!index) return;
    const QRectF frame = toQt(frameAt(*index));
    showMenu(*index, mapToGlobal(QPointF(frame.left() + frame.height() / 2, frame.bottom())).toPoint());
}

void WheelPillColumn::showMenu(std::size_t index, QPoint globalAt) {
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
    const std::string wheelId = pills_[index].id;
    connect(up, &QAction::triggered, this, [this, wheelId] {
        if (onMoveBy) onMoveBy(wheelId, -1);
    });
    connect(down, &QAction::triggered, this, [this, wheelId] {
        if (onMoveBy) onMoveBy(wheelId, 1);
    });
    connect(exportAction, &QAction::triggered, this, [this, wheelId] {
        if (onExport) onExport(wheelId);
    });
    menu.exec(globalAt);
}

} // namespace rondelix
