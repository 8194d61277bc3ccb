#include "overlay/ui/WheelGraphic.h"

#include "icons/ui/FaviconImages.h"
#include "overlay/WheelSwitcher.h"
#include "overlay/ui/AccessibleWheelGraphic.h"
#include "overlay/ui/HubPainter.h"
#include "overlay/ui/SliceShapePath.h"
#include "qtshared/QtText.h"

#include <QConicalGradient>
#include <QHelpEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QPointer>
#include <QRadialGradient>
#include <QToolTip>
#include <QtMath>
#include <algorithm>
#include <cmath>
#include <utility>
#include <vector>

namespace rondelix {

namespace {

// No real wheel has more slots than this; a damaged count must not make a
// redraw build millions of sectors.
constexpr int maxDrawnSlots = 64;
// How far the glow's blur spreads past its gradient.
constexpr double glowBlur = 34;

// The radius of the glow's full strength.
double glowCone(const WheelGeometry& g) {
    return 0.55 * g.outerRadius();
}

QPointF qPoint(Point p) {
    return {p.x, p.y};
}

Point unitPoint(int position, int count) {
    const double angle = slotAngle(position, count);
    return {std::cos(angle), std::sin(angle)};
}

// The glow is a radial fade from the slot, softened as a blur would soften
// it: a cone of radius `cone` smoothed over `blur` points.
QRadialGradient glowGradient(QPointF centre, double cone, double blur, const QColor& color) {
    const double extent = cone + blur;
    QRadialGradient gradient(centre, extent);
    constexpr int stops = 8;
    const double sigma = blur / 2;
    for (int i = 0; i <= stops; ++i) {
        const double r = extent * i / stops;
        // The cone seen through a Gaussian along the radius.
        double sum = 0, weights = 0;
        for (int k = -6; k <= 6; ++k) {
            const double at = r + sigma * k / 2.0;
            const double weight = std::exp(-(k / 2.0) * (k / 2.0) / 2);
            sum += weight * std::max(0.0, 1 - std::fabs(at) / cone);
            weights += weight;
        }
        QColor stop = color;
        stop.setAlphaF(static_cast<float>(color.alphaF() * (i == stops ? 0 : sum / weights)));
        gradient.setColorAt(static_cast<double>(i) / stops, stop);
    }
    return gradient;
}

// The highlight's light falls from a little above the wheel's centre.
QPointF sheenCentreOf(const WheelGeometry& g) {
    return {0.5 * g.side, 0.42 * g.side};
}

constexpr double sheenOpacity = 0.28;

// White fading out from the sheen's centre to the rim.
QRadialGradient sheenFill(const WheelGeometry& g, double opacity) {
    QRadialGradient sheen(sheenCentreOf(g), g.outerRadius());
    sheen.setColorAt(0, QColor::fromRgbF(1, 1, 1, static_cast<float>(sheenOpacity * opacity)));
    sheen.setColorAt(1, QColor::fromRgbF(1, 1, 1, 0));
    return sheen;
}

// The highlighted slot's colour at a fraction of the way from the sheen's
// centre to the rim: the accent's gradient under the sheen.
Color highlightAt(const Color& accent, double along) {
    const BrightnessVariants variants = brightnessVariants(accent);
    const Color fill = along < 0.5 ? mixed(variants.bright, accent, along / 0.5)
                                   : mixed(accent, variants.deep, along / 0.5 - 1);
    return mixed(fill, Color::white(), sheenOpacity * (1 - along));
}

// The accent a highlighted slot is filled from: deepened (or lightened) just
// as far as it takes for the label, in the colour that suits the accent, to
// read at 4.5:1 wherever the label lies in the slot's gradient, given as
// the nearest and furthest fractions of the way to the rim.
Color readableHighlight(const Color& accent, double nearest, double furthest) {
    constexpr double readable = 4.5;
    const Color label = contrastingForeground(accent);
    const auto worst = [&](const Color& fill) {
        double ratio = 21;
        for (int step = 0; step <= 8; ++step)
            ratio = std::min(
                ratio, contrastRatio(label, highlightAt(fill, nearest + (furthest - nearest) * step / 8)));
        return ratio;
    };
    if (worst(accent) >= readable) return accent;
    const Color end = relativeLuminance(label) > 0.5 ? Color{0, 0, 0} : Color::white();
    double low = 0, high = 1;
    for (int step = 0; step < 24; ++step) {
        const double t = (low + high) / 2;
        // A little past the goal, so that rounding to whole channel values keeps it.
        (worst(mixed(accent, end, t)) >= readable + 0.05 ? high : low) = t;
    }
    return mixed(accent, end, high);
}

// A clear square image the size of the wheel, at the screen's pixel ratio,
// for a layer that is painted once and reused.
QImage transparentLayer(double side, double dpr) {
    const int pixels = std::max(1, qCeil(side * dpr));
    QImage layer(pixels, pixels, QImage::Format_ARGB32_Premultiplied);
    layer.setDevicePixelRatio(dpr);
    layer.fill(Qt::transparent);
    return layer;
}

void prepareLayerPainter(QPainter& painter) {
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setRenderHint(QPainter::TextAntialiasing);
}

} // namespace

WheelGraphic::Inputs WheelGraphic::Inputs::of(Wheel wheel, const Behavior& behavior) {
    Inputs inputs;
    inputs.activeWheelId = wheel.id;
    inputs.wheel = std::move(wheel);
    inputs.accent = Color::fromHex(behavior.accentHex);
    inputs.accentStrength = behavior.accentStrength;
    return inputs;
}

WheelGraphic::WheelGraphic(QWidget* parent) : QWidget(parent), highlightAnimation_(this) {
    AccessibleWheelGraphic::install();
    setAttribute(Qt::WA_TranslucentBackground);
    highlightAnimation_.setStartValue(0.0);
    highlightAnimation_.setEndValue(1.0);
    highlightAnimation_.setDuration(120);
    highlightAnimation_.setEasingCurve(QEasingCurve::OutQuad);
    connect(&highlightAnimation_, &QVariantAnimation::valueChanged, this, [this] { update(); });
    springTimer_.setInterval(16);
    connect(&springTimer_, &QTimer::timeout, this, [this] { stepSprings(); });
    toLook_ = targetLook();
}

void WheelGraphic::setInputs(Inputs inputs) {
    const bool countChanged = std::clamp(inputs.wheel.sliceCount, 0, maxDrawnSlots) !=
                              std::clamp(inputs_.wheel.sliceCount, 0, maxDrawnSlots);
    const bool aimChanged = inputs.aimedPosition != inputs_.aimedPosition;
    const bool sizeChanged = inputs.diameter != inputs_.diameter;
    if (inputs.icons != inputs_.icons) useIconSources(inputs.icons);
    inputs_ = std::move(inputs);
    setMouseTracking(static_cast<bool>(inputs_.onTapSlice));
    if (!inputs_.onTapSlice) {
        hoveredPosition_.reset();
        pressedSlot_.reset();
        sliceDrag_ = {};
    }
    icons_.setPrefetchFavicons(inputs_.prefetchFavicons);
    if (countChanged) {
        highlightAnimation_.stop();
        toLook_ = targetLook();
    }
    highlightMayHaveChanged(aimChanged && !reduceMotion_);
    updateLiftTargets();
    if (sizeChanged) updateGeometry();
    update();
}

void WheelGraphic::setColorScheme(std::optional<ColorScheme> scheme) {
    colorScheme_ = scheme;
    update();
}

ColorScheme WheelGraphic::colorScheme() const {
    if (colorScheme_) return *colorScheme_;
    return QWidget::palette().color(QPalette::Window).lightness() < 128 ? ColorScheme::dark
                                                                        : ColorScheme::light;
}

void WheelGraphic::setReduceMotion(bool reduce) {
    reduceMotion_ = reduce;
}

void WheelGraphic::useIconSources(SliceIconSources* sources) {
    icons_.setSources(sources);
    disconnect(faviconsArrived_);
    disconnect(storedRedrawn_);
    // A website's icon that arrives shows at once.
    if (FaviconImages* favicons = sources ? sources->favicons() : nullptr)
        faviconsArrived_ = connect(favicons, &FaviconImages::arrived, this, qOverload<>(&QWidget::update));
    // So does a stored picture once it has been drawn anew.
    if (sources)
        storedRedrawn_ = connect(&sources->storedImages(), &StoredIconImages::redrawn, this,
                                 qOverload<>(&QWidget::update));
}

std::optional<int> WheelGraphic::highlighted() const {
    return highlightedSlot(inputs_.aimedPosition, sliceDrag_, hoveredPosition_);
}

QString WheelGraphic::highlightedLabel() const {
    const auto position = highlighted();
    if (!position) return {};
    for (const Slice& slice : inputs_.wheel.slices)
        if (slice.position == *position) return toQString(slice.label);
    return tr("Empty slot");
}

bool WheelGraphic::isFilled(int position) const {
    return std::any_of(inputs_.wheel.slices.begin(), inputs_.wheel.slices.end(),
                       [position](const Slice& s) { return s.position == position; });
}

bool WheelGraphic::isAnimating() const {
    return highlightAnimation_.state() == QAbstractAnimation::Running || springTimer_.isActive();
}

WheelGeometry WheelGraphic::geometry() const {
    return {square().width()};
}

QRectF WheelGraphic::square() const {
    double side = inputs_.diameter ? *inputs_.diameter : std::min(width(), height());
    if (!std::isfinite(side) || side < 0) side = 0;
    return {(width() - side) / 2, (height() - side) / 2, side, side};
}

QSize WheelGraphic::sizeHint() const {
    const double side =
        inputs_.diameter && std::isfinite(*inputs_.diameter) ? std::max(0.0, *inputs_.diameter) : 320;
    const int s = static_cast<int>(std::ceil(std::min(side, 16384.0)));
    return {s, s};
}

Point WheelGraphic::toSquare(QPointF widgetPoint) const {
    const QPointF p = widgetPoint - square().topLeft();
    return {p.x(), p.y()};
}

WheelPalette WheelGraphic::palette() const {
    return WheelPalette::forScheme(colorScheme());
}

// Highlight -------------------------------------------------------------------

WheelGraphic::HighlightLook WheelGraphic::targetLook() const {
    const int n = std::clamp(inputs_.wheel.sliceCount, 0, maxDrawnSlots);
    HighlightLook look;
    look.emphasis.assign(static_cast<std::size_t>(n), 0.0);
    const auto h = highlighted();
    const auto dragged = draggingSource();
    if (h && *h >= 0 && *h < n && dragged != h) look.emphasis[static_cast<std::size_t>(*h)] = 1;
    if (h && n > 0) {
        // A highlight outside the slots still places the glow at its angle.
        look.glowPoint = unitPoint(*h, n);
        look.glowOpacity = 1;
    } else {
        look.glowPoint = toLook_.glowPoint;
    }
    return look;
}

WheelGraphic::HighlightLook WheelGraphic::currentLook() const {
    if (highlightAnimation_.state() != QAbstractAnimation::Running) return toLook_;
    const double t = highlightAnimation_.currentValue().toDouble();
    HighlightLook look = toLook_;
    for (std::size_t i = 0; i < look.emphasis.size() && i < fromLook_.emphasis.size(); ++i)
        look.emphasis[i] = fromLook_.emphasis[i] + (toLook_.emphasis[i] - fromLook_.emphasis[i]) * t;
    look.glowPoint = {fromLook_.glowPoint.x + (toLook_.glowPoint.x - fromLook_.glowPoint.x) * t,
                      fromLook_.glowPoint.y + (toLook_.glowPoint.y - fromLook_.glowPoint.y) * t};
    look.glowOpacity = fromLook_.glowOpacity + (toLook_.glowOpacity - fromLook_.glowOpacity) * t;
    return look;
}

void WheelGraphic::highlightMayHaveChanged(bool animate) {
    if (highlighted() != shownHighlight_) {
        shownHighlight_ = highlighted();
        AccessibleWheelGraphic::aimChanged(*this);
    }
    HighlightLook target = targetLook();
    if (target.emphasis == toLook_.emphasis && target.glowOpacity == toLook_.glowOpacity &&
        target.glowPoint == toLook_.glowPoint)
        return;
    if (!animate) {
        highlightAnimation_.stop();
        toLook_ = std::move(target);
        update();
        return;
    }
    fromLook_ = currentLook();
    // A glow that appears fades in where it is, rather than sliding in.
    if (fromLook_.glowOpacity == 0) fromLook_.glowPoint = target.glowPoint;
    toLook_ = std::move(target);
    highlightAnimation_.stop();
    highlightAnimation_.start();
    update();
}

void WheelGraphic::setHovered(std::optional<int> position) {
    if (position == hoveredPosition_) return;
    hoveredPosition_ = position;
    // Hover eases whatever the reduce-motion setting.
    highlightMayHaveChanged(true);
}

// Dragging --------------------------------------------------------------------

void WheelGraphic::updateLiftTargets() {
    const WheelGeometry g = geometry();
    const int n = std::clamp(inputs_.wheel.sliceCount, 0, maxDrawnSlots);
    const auto dragged = draggingSource();
    const Slice* draggedSlice = nullptr;
    if (dragged)
        for (const Slice& s : inputs_.wheel.slices)
            if (s.position == *dragged) {
                draggedSlice = &s;
                break;
            }

    if (draggedSlice) {
        const Point home = g.slotPoint(draggedSlice->position, n);
        if (!lifted_ || lifted_->sliceId != draggedSlice->id) {
            lifted_ = LiftedSlice{};
            lifted_->sliceId = draggedSlice->id;
            lifted_->x.jumpTo(home.x);
            lifted_->y.jumpTo(home.y);
        }
        lifted_->x.setTarget(home.x + sliceDrag_.translation.x);
        lifted_->y.setTarget(home.y + sliceDrag_.translation.y);
        lifted_->lift.setTarget(1);
    } else if (lifted_) {
        const auto slice = std::find_if(inputs_.wheel.slices.begin(), inputs_.wheel.slices.end(),
                                        [this](const Slice& s) { return s.id == lifted_->sliceId; });
        if (slice == inputs_.wheel.slices.end() || slice->position < 0 || slice->position >= n) {
            lifted_.reset();
        } else {
            // Back to its slot, which may be a new one after a swap.
            const Point home = g.slotPoint(slice->position, n);
            lifted_->x.setTarget(home.x);
            lifted_->y.setTarget(home.y);
            lifted_->lift.setTarget(0);
        }
    }
    if (!lifted_) {
        springTimer_.stop();
        return;
    }
    if (reduceMotion_) {
        lifted_->x.jumpTo(lifted_->x.target());
        lifted_->y.jumpTo(lifted_->y.target());
        lifted_->lift.jumpTo(lifted_->lift.target());
        if (!draggedSlice) lifted_.reset();
        return;
    }
    if (!springTimer_.isActive()) {
        springClock_.start();
        springTimer_.start();
    }
}

void WheelGraphic::stepSprings() {
    if (!lifted_) {
        springTimer_.stop();
        return;
    }
    updateLiftTargets();
    if (!lifted_) return;
    const double seconds = static_cast<double>(springClock_.restart()) / 1000.0;
    lifted_->x.advance(seconds);
    lifted_->y.advance(seconds);
    lifted_->lift.advance(seconds);
    if (lifted_->x.isSettled() && lifted_->y.isSettled() && lifted_->lift.isSettled()) {
        springTimer_.stop();
        if (lifted_->lift.target() == 0) lifted_.reset();
    }
    update();
}

void WheelGraphic::dragChanged() {
    updateLiftTargets();
    highlightMayHaveChanged(!reduceMotion_);
    update();
}

// Pointer ---------------------------------------------------------------------

void WheelGraphic::mousePressEvent(QMouseEvent* event) {
    if (!inputs_.onTapSlice || event->button() != Qt::LeftButton) return QWidget::mousePressEvent(event);
    const Point p = toSquare(event->position());
    const double side = square().width();
    const int n = std::clamp(inputs_.wheel.sliceCount, 0, maxDrawnSlots);
    const auto slot = wedgeAt(p, side, n);
    if (!slot) return QWidget::mousePressEvent(event);
    pressedSlot_ = slot;
    pressPoint_ = p;
    SliceGesture{*slot, isFilled(*slot), static_cast<bool>(inputs_.onSwapSlice), side, n}.changed(sliceDrag_,
                                                                                                  {}, p);
    dragChanged();
}

void WheelGraphic::mouseMoveEvent(QMouseEvent* event) {
    if (!inputs_.onTapSlice) return QWidget::mouseMoveEvent(event);
    const Point p = toSquare(event->position());
    const double side = square().width();
    const int n = std::clamp(inputs_.wheel.sliceCount, 0, maxDrawnSlots);
    const bool inside = p.x >= 0 && p.y >= 0 && p.x <= side && p.y <= side;
    setHovered(inside ? wedgeAt(p, side, n) : std::nullopt);
    if (!pressedSlot_) return;
    const Point translation{p.x - pressPoint_.x, p.y - pressPoint_.y};
    SliceGesture{*pressedSlot_, isFilled(*pressedSlot_), static_cast<bool>(inputs_.onSwapSlice), side, n}
        .changed(sliceDrag_, translation, p);
    dragChanged();
}

void WheelGraphic::mouseReleaseEvent(QMouseEvent* event) {
    if (!pressedSlot_ || event->button() != Qt::LeftButton) return QWidget::mouseReleaseEvent(event);
    const Point p = toSquare(event->position());
    const double side = square().width();
    const int n = std::clamp(inputs_.wheel.sliceCount, 0, maxDrawnSlots);
    const int position = *std::exchange(pressedSlot_, std::nullopt);
    const auto outcome =
        SliceGesture{position, isFilled(position), static_cast<bool>(inputs_.onSwapSlice), side, n}.ended(
            {p.x - pressPoint_.x, p.y - pressPoint_.y}, p);
    if (outcome.dropped) {
        hoveredPosition_.reset();
        highlightMayHaveChanged(false);
    }
    sliceDrag_ = {};
    dragChanged();

    // A host may rebuild or drop this view from its callback.
    const QPointer<WheelGraphic> self(this);
    const auto onSwap = inputs_.onSwapSlice;
    const auto onTap = inputs_.onTapSlice;
    if (outcome.swap && onSwap) onSwap(outcome.swap->first, outcome.swap->second);
    if (outcome.tap && onTap && self) onTap(*outcome.tap);
}

void WheelGraphic::leaveEvent(QEvent* event) {
    if (inputs_.onTapSlice) setHovered(std::nullopt);
    QWidget::leaveEvent(event);
}

bool WheelGraphic::event(QEvent* event) {
    if (event->type() != QEvent::ToolTip) return QWidget::event(event);
    auto* help = static_cast<QHelpEvent*>(event);
    const int n = std::clamp(inputs_.wheel.sliceCount, 0, maxDrawnSlots);
    const auto slot = wedgeAt(toSquare(help->pos()), square().width(), n);
    for (const Slice& slice : inputs_.wheel.slices) {
        if (!slot || slice.position != *slot) continue;
        if (const auto filename = icons_.missingCustomImage(slice)) {
            QToolTip::showText(help->globalPos(), QString::fromStdString(*filename), this);
            return true;
        }
        break;
    }
    QToolTip::hideText();
    event->ignore();
    return true;
}

// Painting --------------------------------------------------------------------

void WheelGraphic::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    paint(painter);
}

void WheelGraphic::paint(QPainter& painter) {
    const QRectF sq = square();
    if (sq.width() <= 4) return;
    const WheelGeometry g{sq.width()};
    const HighlightLook look = currentLook();
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setRenderHint(QPainter::TextAntialiasing);
    painter.translate(sq.topLeft());
    paintGlow(painter, g, look);
    paintSlots(painter, g, look);
    paintDragMark(painter, g);
    paintHubLayer(painter, g);
    paintIcons(painter, g, look);
    painter.restore();
}

void WheelGraphic::paintGlow(QPainter& painter) {
    const QRectF sq = square();
    if (sq.width() <= 4) return;
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    painter.translate(sq.topLeft());
    paintGlow(painter, WheelGeometry{sq.width()}, currentLook());
    painter.restore();
}

double WheelGraphic::glowSpill() const {
    const WheelGeometry g = geometry();
    return std::max(0.0, g.midRadius() + glowCone(g) + glowBlur - g.side / 2);
}

bool WheelGraphic::glows() const {
    return inputs_.accentStrength > 0 && currentLook().glowOpacity > 0;
}

void WheelGraphic::paintGlow(QPainter& painter, const WheelGeometry& g, const HighlightLook& look) {
    if (look.glowOpacity <= 0) return;
    const double alpha = std::clamp(inputs_.accentStrength, 0.0, 1.0) * 0.55 * look.glowOpacity;
    if (alpha <= 0) return;
    const QPointF centre(g.centre().x + g.midRadius() * look.glowPoint.x,
                         g.centre().y + g.midRadius() * look.glowPoint.y);
    const double cone = glowCone(g);
    painter.setPen(Qt::NoPen);
    painter.setBrush(glowGradient(centre, cone, glowBlur, toQColor(inputs_.accent, alpha)));
    painter.drawEllipse(centre, cone + glowBlur, cone + glowBlur);
}

WheelGraphic::StaticLayerKey WheelGraphic::staticLayerKey(const WheelGeometry& g, double dpr) const {
    const int n = std::clamp(inputs_.wheel.sliceCount, 0, maxDrawnSlots);
    StaticLayerKey key;
    key.side = g.side;
    key.devicePixelRatio = dpr;
    key.scheme = colorScheme();
    const auto dragged = draggingSource();
    for (int i = 0; i < n; ++i)
        key.filledLook.push_back(isFilled(i) && dragged != i);
    return key;
}

const std::vector<std::string>& WheelGraphic::drawnWheelIds() const {
    static const std::vector<std::string> none;
    return inputs_.wheelIds ? *inputs_.wheelIds : none;
}

void WheelGraphic::paintHubLayer(QPainter& painter, const WheelGeometry& g) {
    if (!inputs_.showsHubLabel) return;
    const double dpr = painter.device() ? painter.device()->devicePixelRatioF() : 1.0;
    // The dot for the wheel shown stands out from the switcher's capsule over
    // the base colour it lies on, whatever the accent.
    const QColor material = palette().ultraThinMaterial;
    const Color capsule =
        mixed(fromQColor(QWidget::palette().color(QPalette::Base)), fromQColor(material), material.alphaF());
    const Color dot = mixed(capsule, inputs_.accent, std::max(inputs_.accentStrength, 0.5));
    HubLayerKey key{g.side, dpr, colorScheme(),
                    HubContent{inputs_.wheel.name,
                               wheelSwitcher(drawnWheelIds(), inputs_.activeWheelId, g.side),
                               visibleMark(dot, toQColor(capsule))}};
    if (!(key == hubLayerKey_) || hubLayer_.isNull()) {
        hubLayerKey_ = std::move(key);
        // The layer holds the hub's own box rather than the wheel's square,
        // on whole device pixels so that it lands on them as drawn; a pixel
        // round it keeps the capsules' smoothed edges.
        const QRectF hub = hubBounds(g, hubLayerKey_.hub);
        const int side = qCeil(g.side * dpr);
        const QRect pixels =
            QRectF(hub.topLeft() * dpr, hub.size() * dpr).toAlignedRect().adjusted(-1, -1, 1, 1) &
            QRect(0, 0, side, side);
        hubLayerOrigin_ = QPointF(pixels.topLeft()) / dpr;
        hubLayer_ = QImage(pixels.size().expandedTo(QSize(1, 1)), QImage::Format_ARGB32_Premultiplied);
        hubLayer_.setDevicePixelRatio(dpr);
        hubLayer_.fill(Qt::transparent);
        QPainter hubPainter(&hubLayer_);
        prepareLayerPainter(hubPainter);
        hubPainter.translate(-hubLayerOrigin_);
        paintHub(hubPainter, g, hubLayerKey_.hub, WheelPalette::forScheme(hubLayerKey_.scheme));
    }
    painter.drawImage(hubLayerOrigin_, hubLayer_);
}

const QImage& WheelGraphic::staticLayer(const WheelGeometry& g, double dpr) {
    StaticLayerKey key = staticLayerKey(g, dpr);
    if (key == staticLayerKey_ && !staticLayer_.isNull()) return staticLayer_;
    staticLayerKey_ = std::move(key);
    staticLayer_ = transparentLayer(g.side, dpr);
    QPainter painter(&staticLayer_);
    prepareLayerPainter(painter);

    const WheelPalette colors = WheelPalette::forScheme(staticLayerKey_.scheme);
    const QRectF frame(0, 0, g.side, g.side);
    const int n = static_cast<int>(staticLayerKey_.filledLook.size());
    painter.setPen(QPen(withOpacity(colors.primary, 0.13), 1));
    for (int i = 0; i < n; ++i) {
        painter.setBrush(baseFill(g, colors, staticLayerKey_.filledLook[static_cast<std::size_t>(i)], 1));
        painter.drawPath(sliceShapePath(g.sector(i, n), frame));
    }
    paintRim(painter, g);
    return staticLayer_;
}

QRadialGradient WheelGraphic::baseFill(const WheelGeometry& g, const WheelPalette& colors, bool filledLook,
                                       double opacity) {
    QRadialGradient base(qPoint(g.centre()), g.outerRadius());
    base.setColorAt(0, withOpacity(colors.primary, (filledLook ? 0.04 : 0.02) * opacity));
    base.setColorAt(1, withOpacity(colors.primary, (filledLook ? 0.10 : 0.05) * opacity));
    return base;
}

void WheelGraphic::paintSlots(QPainter& painter, const WheelGeometry& g, const HighlightLook& look) {
    const int n = std::clamp(inputs_.wheel.sliceCount, 0, maxDrawnSlots);
    const WheelPalette colors = palette();
    const QRectF frame(0, 0, g.side, g.side);
    const double dpr = painter.device() ? painter.device()->devicePixelRatioF() : 1.0;
    const QImage& layer = staticLayer(g, dpr);

    std::vector<std::pair<int, QPainterPath>> shapes;
    QPainterPath highlightedSlots;
    for (int i = 0; i < n && i < static_cast<int>(look.emphasis.size()); ++i)
        if (look.emphasis[static_cast<std::size_t>(i)] > 0) {
            shapes.emplace_back(i, sliceShapePath(g.sector(i, n), frame));
            highlightedSlots.addPath(shapes.back().second);
        }
    if (highlightedSlots.isEmpty()) {
        painter.drawImage(frame, layer);
        return;
    }
    // The highlighted slots take their own fills in place of the layer's.
    painter.save();
    QPainterPath rest;
    rest.addRect(frame.adjusted(-1, -1, 1, 1));
    painter.setClipPath(rest.subtracted(highlightedSlots));
    painter.drawImage(frame, layer);
    painter.restore();

    const QPointF sheenCentre = sheenCentreOf(g);
    const double outer = g.outerRadius();
    const auto dragged = draggingSource();
    const double strength = std::clamp(inputs_.accentStrength, 0.0, 1.0);
    for (const auto& [i, path] : shapes) {
        const double e = look.emphasis[static_cast<std::size_t>(i)];
        // The slot's label lies within an icon's size of the slot's point.
        const Point slot = g.slotPoint(i, n);
        const double fromSheen = std::hypot(slot.x - sheenCentre.x(), slot.y - sheenCentre.y());
        const double reach = g.iconSize();
        const Color fill =
            readableHighlight(inputs_.accent, std::clamp((fromSheen - reach) / outer, 0.0, 1.0),
                              std::clamp((fromSheen + reach) / outer, 0.0, 1.0));
        const BrightnessVariants variants = brightnessVariants(fill);
        painter.setPen(Qt::NoPen);
        if (e < 1) {
            painter.setBrush(baseFill(g, colors, isFilled(i) && dragged != i, 1 - e));
            painter.drawPath(path);
        }
        QRadialGradient accent(sheenCentre, outer);
        accent.setColorAt(0, toQColor(variants.bright, strength * e));
        accent.setColorAt(0.5, toQColor(fill, strength * e));
        accent.setColorAt(1, toQColor(variants.deep, strength * e));
        painter.setBrush(accent);
        painter.drawPath(path);
        painter.setBrush(sheenFill(g, e));
        painter.drawPath(path);
        painter.setBrush(Qt::NoBrush);
        painter.setPen(QPen(withOpacity(colors.primary, 0.13), 1));
        painter.drawPath(path);
    }
}

void WheelGraphic::paintDragMark(QPainter& painter, const WheelGeometry& g) {
    const int n = std::clamp(inputs_.wheel.sliceCount, 0, maxDrawnSlots);
    const auto dragged = draggingSource();
    if (!dragged || *dragged < 0 || *dragged >= n) return;
    const QPainterPath path = sliceShapePath(g.sector(*dragged, n), QRectF(0, 0, g.side, g.side));
    // Dragged back over its own slot, the source keeps its empty fill but
    // still catches the highlight's sheen.
    if (highlighted() == dragged) {
        painter.setPen(Qt::NoPen);
        painter.setBrush(sheenFill(g, 1));
        painter.drawPath(path);
    }
    const double strength = std::clamp(inputs_.accentStrength, 0.0, 1.0);
    QPen dash(toQColor(inputs_.accent, strength * 0.5), 1.5, Qt::CustomDashLine, Qt::FlatCap, Qt::MiterJoin);
    // Qt measures dashes in pen widths.
    dash.setDashPattern({4 / 1.5, 3 / 1.5});
    dash.setMiterLimit(10);
    painter.setBrush(Qt::NoBrush);
    painter.setPen(dash);
    painter.drawPath(path);
}

void WheelGraphic::paintRim(QPainter& painter, const WheelGeometry& g) {
    const bool dark = colorScheme() == ColorScheme::dark;
    const QColor base = dark ? QColor(255, 255, 255) : QColor(0, 0, 0);
    const double a = dark ? 0.7 : 0.35, b = dark ? 0.1 : 0.05, c = dark ? 0.4 : 0.2;
    // Qt's conical gradient runs counter-clockwise; the rim's stops run
    // clockwise from -45 degrees, so they are laid out mirrored.
    QConicalGradient gradient(qPoint(g.centre()), 45);
    gradient.setColorAt(0, withOpacity(base, a));
    gradient.setColorAt(1 - 0.65, withOpacity(base, c));
    gradient.setColorAt(1 - 0.35, withOpacity(base, b));
    gradient.setColorAt(1, withOpacity(base, a));
    painter.save();
    if (dark) painter.setCompositionMode(QPainter::CompositionMode_Overlay);
    painter.setBrush(Qt::NoBrush);
    painter.setPen(QPen(QBrush(gradient), 1.5));
    painter.drawEllipse(qPoint(g.centre()), g.side / 2 - 0.75, g.side / 2 - 0.75);
    painter.restore();
}

void WheelGraphic::paintIcons(QPainter& painter, const WheelGeometry& g, const HighlightLook& look) {
    const int n = std::clamp(inputs_.wheel.sliceCount, 0, maxDrawnSlots);
    const WheelPalette colors = palette();
    const double iconSize = g.iconSize();

    for (int i = 0; i < n; ++i)
        if (!isFilled(i))
            icons_.paintEmptyMarker(painter, {g, i, n}, iconSize, inputs_.wheel.id == "default" && i == 0,
                                    colors);

    const auto dragged = draggingSource();
    const QColor emphasised =
        inputs_.accentStrength < 0.5 ? colors.primary : toQColor(contrastingForeground(inputs_.accent));
    const Slice* liftedSlice = nullptr;
    const auto paintOne = [&](const Slice& slice, bool isLifted) {
        const auto p = static_cast<std::size_t>(slice.position);
        const double e = dragged == slice.position || p >= look.emphasis.size() ? 0 : look.emphasis[p];
        SliceIconPainter::Style style;
        style.foreground = colors.primary;
        style.emphasisedForeground = emphasised;
        style.emphasis = e;
        style.showsTile = static_cast<bool>(inputs_.onSwapSlice);
        style.scale = sliceDrag_.target == slice.position && dragged != slice.position ? 1.08 : 1 + 0.12 * e;
        QPointF centre = qPoint(g.slotPoint(slice.position, n));
        if (isLifted) {
            style.lift = std::clamp(lifted_->lift.value(), 0.0, 1.5);
            style.scale = std::max(style.scale, 1 + 0.26 * style.lift);
            centre = QPointF(lifted_->x.value(), lifted_->y.value());
        }
        style.slot = {g, slice.position, n};
        icons_.paintSlice(painter, slice, centre, iconSize, style, colors);
    };
    for (const Slice& slice : inputs_.wheel.slices) {
        if (slice.position < 0 || slice.position >= n) continue;
        if (lifted_ && slice.id == lifted_->sliceId && !liftedSlice) {
            liftedSlice = &slice;
            continue;
        }
        paintOne(slice, false);
    }
    // The dragged slice draws above every other.
    if (liftedSlice) paintOne(*liftedSlice, true);
}

} // namespace rondelix
