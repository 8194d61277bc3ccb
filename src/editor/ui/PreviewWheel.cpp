#include "editor/ui/PreviewWheel.h"

#include "overlay/SliceShape.h"
#include "overlay/ui/SliceShapePath.h"
#include "overlay/ui/WheelGraphic.h"
#include "overlay/ui/WheelPalette.h"

#include <QPainter>
#include <QPainterPath>

namespace rondelix {

namespace {
constexpr double hubRatio = 0.2;
constexpr double rimRatio = 0.5;
constexpr double rimGap = 2;
constexpr double outlineInset = 1.5;
constexpr double outlineWidth = 1.5;

bool outlined(const PreviewWheel::Inputs& in) {
    return in.interactive && in.selectedPosition >= 0 && in.selectedPosition < in.wheel.sliceCount;
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
        const double d = owner_.side();
        const SliceShape shape{in.selectedPosition, in.wheel.sliceCount, d * hubRatio + outlineInset,
                               d * rimRatio - rimGap - outlineInset};
        return sliceShapePath(shape, owner_.square());
    }

    // What the outline covers with these inputs; empty when none is drawn.
    QRect area(const Inputs& in) const {
        if (!outlined(in)) return {};
        return path(in)
            .boundingRect()
            .adjusted(-outlineWidth, -outlineWidth, outlineWidth, outlineWidth)
            .toAlignedRect();
    }

  protected:
    void paintEvent(QPaintEvent*) override {
        const auto& in = owner_.inputs_;
        if (!outlined(in)) return;
        QPainter painter(this);
        painter.setRenderHint(QPainter::Antialiasing);
        QPen pen(toQColor(in.accent), outlineWidth, Qt::SolidLine, Qt::FlatCap, Qt::MiterJoin);
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
}

QRectF PreviewWheel::square() const {
    const double d = side();
    return {(width() - d) / 2, (height() - d) / 2, d, d};
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
    const bool sameLook = graphicClickable_ && inputs.wheel == inputs_.wheel &&
                          inputs.allWheels == inputs_.allWheels &&
                          inputs.aimedPosition == inputs_.aimedPosition && inputs.accent == inputs_.accent &&
                          inputs.accentStrength == inputs_.accentStrength && inputs.icons == inputs_.icons;
    // A summon that leaves the wheel as drawn only takes the clicks away and
    // gives them back: the graphic keeps its inputs and stays deaf to the
    // mouse meanwhile, unless a hovered or dragged slot has to let go.
    const bool letsGo = graphic_->hoveredPosition() || graphic_->draggingSource();
    const bool keepGraphic =
        sameLook && (*graphicClickable_ ? inputs.interactive || !letsGo : !inputs.interactive);
    const QRect outlineBefore = outline_->area(inputs_);
    inputs_ = std::move(inputs);
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
    g.allWheels = inputs_.allWheels;
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

} // namespace rondelix
