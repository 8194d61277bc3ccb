#include "editor/ui/PreviewWheel.h"

#include "editor/SliceEdits.h"
#include "overlay/SliceShape.h"
#include "overlay/ui/SliceShapePath.h"
#include "overlay/ui/WheelGraphic.h"
#include "overlay/ui/WheelPalette.h"
#include "qtshared/FocusRing.h"

#include <QContextMenuEvent>
#include <QKeyEvent>
#include <QPainter>
#include <QPainterPath>

namespace rondelix {

namespace {
constexpr double hubRatio = 0.2;
constexpr double rimRatio = 0.5;
constexpr double rimGap = 2;
constexpr double outlineInset = 1.5;
constexpr double outlineWidth = 1.5;
// With the focus the outline is bolder, so the slot the arrows move is plain.
constexpr double focusedOutlineWidth = 3;
constexpr double focusRingWidth = 2;

bool outlined(const PreviewWheel::Inputs& in) {
    return in.interactive && in.selectedPosition >= 0 && in.selectedPosition < in.wheel.sliceCount;
}

// The accent as a mark on a slot of the disc: the slots tint the disc with
// the look's text colour, faintly at the hub and more towards the rim
// (WheelGraphic's base fill), and the mark stands out from both ends.
QColor slotMark(const Color& accent, const QPalette& palette) {
    const Color disc = fromQColor(palette.color(QPalette::Base));
    const bool dark = palette.color(QPalette::Window).lightness() < 128;
    const Color text =
        fromQColor(WheelPalette::forScheme(dark ? ColorScheme::dark : ColorScheme::light).primary);
    Color mark = accent;
    for (const double tint : {0.02, 0.10})
        mark = readableOn(mark, mixed(disc, text, tint), 3.0);
    return toQColor(mark);
}
} // namespace

// The selected slot's outline, above the graphic and deaf to the mouse.
class PreviewWheel::Outline : public QWidget {
  public:
    explicit Outline(PreviewWheel& owner) : QWidget(&owner), owner_(owner) {
        setAttribute(Qt::WA_TransparentForMouseEvents);
        setAttribute(Qt::WA_TranslucentBackground);
    }

    // The outline's path for the inputs given.
    QPainterPath path(const Inputs& in) const {
        return owner_.slotPath(in.selectedPosition, in.wheel.sliceCount);
    }

    // What the outline covers with these inputs; empty when none is drawn.
    QRect area(const Inputs& in) const {
        if (!outlined(in)) return {};
        return path(in)
            .boundingRect()
            .adjusted(-focusedOutlineWidth, -focusedOutlineWidth, focusedOutlineWidth, focusedOutlineWidth)
            .toAlignedRect();
    }

  protected:
    void paintEvent(QPaintEvent*) override {
        const auto& in = owner_.inputs_;
        if (!outlined(in)) return;
        QPainter painter(this);
        painter.setRenderHint(QPainter::Antialiasing);
        if (owner_.hasFocus()) {
            // The wheel's rim shows that the arrows go to it.
            painter.setPen(QPen(accentMark(palette()), focusRingWidth));
            painter.setBrush(Qt::NoBrush);
            const double inset = focusRingWidth / 2;
            painter.drawEllipse(owner_.square().adjusted(inset, inset, -inset, -inset));
        }
        QPen pen(slotMark(in.accent, palette()), owner_.hasFocus() ? focusedOutlineWidth : outlineWidth,
                 Qt::SolidLine, Qt::FlatCap, Qt::MiterJoin);
        pen.setMiterLimit(10);
        painter.setPen(pen);
        painter.setBrush(Qt::NoBrush);
        painter.drawPath(path(in));
    }

  private:
    PreviewWheel& owner_;
};

PreviewWheel::PreviewWheel(QWidget* parent)
    : QWidget(parent), graphic_(new WheelGraphic(this)), outline_(new Outline(*this)) {
    setMinimumSize(200, 200);
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
    setFocusPolicy(Qt::StrongFocus);
    FocusRing::drawnByControl(*this);
    // Before anything asks the accessibility layer about the widget.
    AccessibleItems::install();
    setAccessibleName("Slices");
}

QRectF PreviewWheel::square() const {
    const double d = side();
    return {(width() - d) / 2, (height() - d) / 2, d, d};
}

QPainterPath PreviewWheel::slotPath(int position, int sliceCount) const {
    const double d = side();
    const SliceShape shape{position, sliceCount, d * hubRatio + outlineInset,
                           d * rimRatio - rimGap - outlineInset};
    return sliceShapePath(shape, square());
}

double PreviewWheel::side() const {
    return std::min(width(), height());
}

bool PreviewWheel::showsOutline() const {
    return outlined(inputs_);
}

void PreviewWheel::setInputs(Inputs inputs) {
    // Only what changed is redrawn: while a summoned wheel is mirrored, the
    // main window repaints nothing more than the wheel's own changes.
    const bool sameIds = inputs.wheelIds == inputs_.wheelIds ||
                         (inputs.wheelIds && inputs_.wheelIds && *inputs.wheelIds == *inputs_.wheelIds);
    const bool sameLook = graphicClickable_ && inputs.wheel == inputs_.wheel && sameIds &&
                          inputs.aimedPosition == inputs_.aimedPosition && inputs.accent == inputs_.accent &&
                          inputs.accentStrength == inputs_.accentStrength && inputs.icons == inputs_.icons;
    // A summon that leaves the wheel as drawn only takes the clicks away and
    // gives them back: the graphic keeps its inputs and stays deaf to the
    // mouse meanwhile, unless a hovered or dragged slot has to let go.
    const bool letsGo = graphic_->hoveredPosition() || graphic_->draggingSource();
    const bool keepGraphic =
        sameLook && (*graphicClickable_ ? inputs.interactive || !letsGo : !inputs.interactive);
    const QRect outlineBefore = outline_->area(inputs_);
    const int selectedBefore = accessibleSelectedItem();
    inputs_ = std::move(inputs);
    if (accessibleSelectedItem() != selectedBefore)
        AccessibleItems::selectionMoved(*this, accessibleSelectedItem());
    const QRect outlineAfter = outline_->area(inputs_);
    // A redrawn graphic takes the outline above it along.
    if (outlineAfter != outlineBefore) {
        outline_->update(outlineBefore);
        outline_->update(outlineAfter);
    }
    if (keepGraphic) {
        graphic_->setAttribute(Qt::WA_TransparentForMouseEvents, *graphicClickable_ && !inputs_.interactive);
        return;
    }
    WheelGraphic::Inputs g;
    g.wheel = inputs_.wheel;
    g.aimedPosition = inputs_.aimedPosition;
    g.wheelIds = inputs_.wheelIds;
    g.activeWheelId = inputs_.wheel.id;
    g.isVisible = true;
    g.accent = inputs_.accent;
    g.accentStrength = inputs_.accentStrength;
    g.prefetchFavicons = true;
    g.showsHubLabel = true;
    g.icons = inputs_.icons;
    if (inputs_.interactive) {
        g.onTapSlice = [this](int position) {
            if (inputs_.interactive && onSelect) onSelect(position);
        };
        g.onSwapSlice = [this](int from, int to) {
            if (inputs_.interactive && onSwap) onSwap(from, to);
        };
    }
    graphic_->setAttribute(Qt::WA_TransparentForMouseEvents, false);
    graphic_->setInputs(std::move(g));
    graphicClickable_ = inputs_.interactive;
}

void PreviewWheel::resizeEvent(QResizeEvent*) {
    const QRect sq = square().toRect();
    graphic_->setGeometry(sq);
    outline_->setGeometry(rect());
}

void PreviewWheel::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(Qt::NoPen);
    painter.setBrush(palette().color(QPalette::Base));
    painter.drawEllipse(square());
}

int PreviewWheel::accessibleItemCount() const {
    return std::max(0, inputs_.wheel.sliceCount);
}

QString PreviewWheel::accessibleItemName(int index) const {
    const Slice* slice = sliceAt(inputs_.wheel, index);
    const std::string place = positionName(index, inputs_.wheel.sliceCount);
    return QString::fromStdString(place + ": " + (slice ? slice->label : "empty"));
}

QRect PreviewWheel::accessibleItemRect(int index) const {
    return slotPath(index, inputs_.wheel.sliceCount).boundingRect().toAlignedRect();
}

int PreviewWheel::accessibleSelectedItem() const {
    return showsOutline() ? inputs_.selectedPosition : -1;
}

void PreviewWheel::keyPressEvent(QKeyEvent* event) {
    const int count = inputs_.wheel.sliceCount;
    const bool plain = !(event->modifiers() & ~Qt::KeypadModifier);
    int step = 0;
    if (plain && (event->key() == Qt::Key_Right || event->key() == Qt::Key_Down)) step = 1;
    if (plain && (event->key() == Qt::Key_Left || event->key() == Qt::Key_Up)) step = -1;
    if (step != 0 && inputs_.interactive && count > 0) {
        const int position = ((inputs_.selectedPosition + step) % count + count) % count;
        if (onSelect) onSelect(position);
        return event->accept();
    }
    if (event->key() == Qt::Key_F10 && event->modifiers() == Qt::ShiftModifier) return requestMenu();
    QWidget::keyPressEvent(event);
}

void PreviewWheel::contextMenuEvent(QContextMenuEvent* event) {
    if (event->reason() == QContextMenuEvent::Keyboard) requestMenu();
}

void PreviewWheel::requestMenu() {
    if (!showsOutline() || !onMenu) return;
    onMenu(mapToGlobal(outline_->path(inputs_).boundingRect().center()).toPoint());
}

void PreviewWheel::focusInEvent(QFocusEvent* event) {
    QWidget::focusInEvent(event);
    outline_->update();
}

void PreviewWheel::focusOutEvent(QFocusEvent* event) {
    QWidget::focusOutEvent(event);
    outline_->update();
}

} // namespace rondelix
