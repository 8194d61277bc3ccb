#include "overlay/ui/OverlayPanel.h"

#include "overlay/BilinearScaler.h"
#include "overlay/DiscRuns.h"
#include "overlay/VisibleBounds.h"
#include "overlay/ui/DragHandleView.h"
#include "overlay/ui/WheelView.h"
#include "qtshared/DesktopCoordinates.h"
#include "qtshared/NativeExpose.h"

#include <QEasingCurve>
#include <QGraphicsEffect>
#include <QImage>
#include <QPaintEngine>
#include <QPainter>
#include <QPainterPath>
#include <QRegion>
#include <QTransform>
#include <QVariantAnimation>
#include <QWindow>
#include <cmath>
#include <cstdint>
#include <vector>

namespace rondelix {

namespace {

// Qt's raster engine hands a blend of 96 rows or more to its thread pool;
// for one frame of the spring, waking the pool costs more than it saves, so
// the scaled wheel is drawn in bands of fewer rows.
constexpr int rowsPerBand = 64;

// The region cut into bands of at most rowsPerBand rows, each as the box
// around the region's part in those rows.
std::vector<QRect> rowBands(const QRegion& region) {
    std::vector<QRect> bands;
    const QRect bounds = region.boundingRect();
    for (int top = bounds.top(); top <= bounds.bottom(); top += rowsPerBand) {
        const QRect band =
            region.intersected(QRect(bounds.left(), top, bounds.width(), rowsPerBand)).boundingRect();
        if (!band.isEmpty()) bands.push_back(band);
    }
    return bands;
}

} // namespace

// Draws its widget scaled about the widget's centre: the open spring. The
// wheel is drawn into an image once per opening and that image is drawn at
// each frame's scale; it is drawn again only when what the wheel shows
// changes, or while the wheel animates by itself. The image's storage is kept
// from one opening to the next.
class OpenScaleEffect final : public QGraphicsEffect {
  public:
    explicit OpenScaleEffect(QWidget* source) : QGraphicsEffect(source), source_(source) {}

    std::function<bool()> contentAnimating;

    void setScale(double scale) {
        if (scale == scale_) return;
        // What the wheel shows may have changed while it rested.
        if (scale_ == 1.0) stale_ = true;
        scale_ = scale;
        repaint();
    }
    void contentChanged() { stale_ = true; }
    // The part of the widget the image holds: all of it that the window may
    // show at rest, which the spring only ever shrinks or grows about the
    // centre. Empty: all of the widget.
    void setHeld(const QRect& held) {
        if (held == held_) return;
        held_ = held;
        stale_ = true;
    }
    // The part of the widget the window shows (its shape without a
    // compositor); nothing outside it is drawn. Empty: all of it shows.
    void setShown(const QRegion& shown) { shown_ = shown; }
    // Over an opaque window the image holds the window's background under the
    // wheel, as the screen would: the same pixels, but drawing it scaled then
    // replaces what lies under it instead of blending with it.
    void setOverBackground(bool over) { overBackground_ = over; }

  protected:
    void draw(QPainter* painter) override {
        if (scale_ == 1.0) {
            drawSource(painter);
            drawnBox_ = QRect();
            return;
        }
        const bool wholeRepaint = frame_.isNull() || stale_;
        if (wholeRepaint || (contentAnimating && contentAnimating())) {
            const QRect before = visible_;
            renderSource(*painter);
            // The wheel now reaches further than this repaint may cover: the
            // next one covers all of it.
            if (!wholeRepaint && !before.contains(visible_)) update();
        }
        const QTransform scaling = scaled();
        const QRect box = drawnBox(scaling);
        QRegion drawn(box);
        if (!shown_.isEmpty()) drawn &= shown_;
        drawnBox_ = box;
        if (scaleOntoImage(*painter, scaling, drawn)) return;
        const QTransform base = painter->worldTransform();
        for (const QRect& band : rowBands(drawn)) {
            painter->save();
            painter->setClipRect(band, Qt::IntersectClip);
            painter->setWorldTransform(scaling * base);
            painter->setRenderHint(QPainter::SmoothPixmapTransform);
            painter->drawImage(QPointF(frameAt_), frame_);
            painter->restore();
        }
    }

  private:
    QTransform scaled() const {
        const QPointF centre = boundingRect().center();
        return QTransform::fromTranslate(-centre.x(), -centre.y()) * QTransform::fromScale(scale_, scale_) *
               QTransform::fromTranslate(centre.x(), centre.y());
    }

    // Where the scaled image's visible part lands, with a pixel to spare for
    // the filter's reach.
    QRect drawnBox(const QTransform& scaling) const {
        return scaling.mapRect(QRectF(visible_)).toAlignedRect().adjusted(-1, -1, 1, 1);
    }

    // A translucent window repaints each frame where the wheel was drawn last
    // and where it goes now; the rest of the window stays clear. The first
    // frame of an opening, and one after the wheel changed, repaint it all.
    void repaint() {
        if (overBackground_ || scale_ == 1.0 || stale_ || frame_.isNull() || drawnBox_.isEmpty()) {
            update();
            return;
        }
        source_->update(drawnBox_ | drawnBox(scaled()));
    }

    // An opaque frame replaces what lies under it, so when the painter draws
    // straight onto an image of the same pixel size, the scaled frame is
    // written into that image row by row, inside the painter's clip: a third
    // less work than the painter's general smooth transform. Returns false,
    // having drawn nothing, when the painter's target or state does not allow it.
    bool scaleOntoImage(QPainter& painter, const QTransform& scaling, QRegion drawn) const {
        if (!overBackground_ || !painter.device() || painter.device()->devType() != QInternal::Image ||
            painter.opacity() != 1.0 || painter.compositionMode() != QPainter::CompositionMode_SourceOver)
            return false;
        auto& target = *static_cast<QImage*>(painter.device());
        const QTransform device = painter.deviceTransform();
        const bool oneToOne = device.type() <= QTransform::TxTranslate &&
                              device.dx() == std::floor(device.dx()) &&
                              device.dy() == std::floor(device.dy()) && frame_.devicePixelRatio() == 1.0;
        const bool sameLayout = target.format() == QImage::Format_RGB32 ||
                                target.format() == QImage::Format_ARGB32 ||
                                target.format() == QImage::Format_ARGB32_Premultiplied;
        // Writing to an image shared with another would copy it first, away
        // from the painter.
        if (!oneToOne || !sameLayout || !target.isDetached()) return false;
        if (painter.hasClipping()) drawn &= painter.clipRegion();
        const QPoint offset(static_cast<int>(device.dx()), static_cast<int>(device.dy()));
        drawn.translate(offset);
        if (const QRegion system = painter.paintEngine()->systemClip(); !system.isEmpty()) drawn &= system;
        drawn &= target.rect();
        const QPointF origin = scaling.map(QPointF(frameAt_)) + offset;
        BilinearScaler scaler({reinterpret_cast<const std::uint32_t*>(frame_.constBits()), frame_.width(),
                               frame_.height(), frame_.bytesPerLine() / 4},
                              scale_, origin.x(), origin.y(), target.width());
        auto* pixels = reinterpret_cast<std::uint32_t*>(target.bits());
        const std::ptrdiff_t stride = target.bytesPerLine() / 4;
        for (const QRect& span : drawn)
            for (int y = span.top(); y <= span.bottom(); ++y)
                scaler.scaleRow(y, span.left(), span.right() + 1, pixels + y * stride + span.left());
        return true;
    }

    // The held part of the widget as it draws itself, over transparency or
    // the window's background, at the device's pixel ratio, and the box its
    // visible pixels take.
    void renderSource(const QPainter& painter) {
        const QRect held = held_.isEmpty() ? source_->rect() : held_ & source_->rect();
        const qreal ratio = painter.device() ? painter.device()->devicePixelRatio() : 1.0;
        const QSize pixels = (QSizeF(held.size()) * ratio).toSize();
        const QImage::Format format =
            overBackground_ ? QImage::Format_RGB32 : QImage::Format_ARGB32_Premultiplied;
        if (frame_.size() != pixels || frame_.format() != format) frame_ = QImage(pixels, format);
        frame_.setDevicePixelRatio(ratio);
        frameAt_ = held.topLeft();
        if (overBackground_) {
            const QWidget* window = source_->window();
            QPainter(&frame_).fillRect(QRect(QPoint(), held.size()),
                                       window->palette().brush(window->backgroundRole()));
        } else {
            frame_.fill(Qt::transparent);
        }
        source_->render(&frame_, QPoint(), QRegion(held), QWidget::DrawChildren);
        stale_ = false;
        if (overBackground_) {
            visible_ = held;
            return;
        }
        const PixelRun box = visibleBounds(reinterpret_cast<const std::uint32_t*>(frame_.constBits()),
                                           frame_.width(), frame_.height(), frame_.bytesPerLine() / 4);
        visible_ = QRectF(box.left / ratio, box.top / ratio, (box.right - box.left) / ratio,
                          (box.bottom - box.top) / ratio)
                       .toAlignedRect()
                       .translated(frameAt_);
    }

    QWidget* source_;
    double scale_ = 1.0;
    QRect held_;
    // The image, and where its top-left corner lies in the widget.
    QImage frame_;
    QPoint frameAt_;
    // The image's visible part, and where the last frame drew it scaled.
    QRect visible_;
    QRect drawnBox_;
    QRegion shown_;
    bool overBackground_ = false;
    bool stale_ = false;
};

namespace {

// The desktop's usual ease-out: quick at first, settling gently.
QEasingCurve easeOut() {
    QEasingCurve curve(QEasingCurve::BezierSpline);
    curve.addCubicBezierSegment({0.0, 0.0}, {0.58, 1.0}, {1.0, 1.0});
    return curve;
}

// Qt's rectangles grow downwards: a content rectangle given from the panel's
// bottom-left corner becomes this.
QRect topDown(const platform::Rect& r, double side) {
    return QRectF(r.x, side - r.y - r.height, r.width, r.height).toAlignedRect();
}

// The backdrop: the disc behind the slots and the hub, drawn under the wheel
// so the open spring scales both. Under a compositor it is as see-through as
// the window's opacity (the user's setting) makes it, the hub as the ring.
class BackdropView final : public QWidget {
  public:
    BackdropView(const PanelGeometry& geometry, QWidget* parent) : QWidget(parent), geometry_(geometry) {
        setAttribute(Qt::WA_TranslucentBackground);
    }

  protected:
    void paintEvent(QPaintEvent*) override {
        QPainter painter(this);
        painter.setRenderHint(QPainter::Antialiasing);
        painter.setPen(Qt::NoPen);
        painter.setBrush(palette().color(QPalette::Window));
        painter.drawEllipse(topDown(geometry_.disc(), geometry_.side()));
    }

  private:
    PanelGeometry geometry_;
};

} // namespace

OverlayPanel::OverlayPanel(const PanelOptions& options, const WheelFactory& makeWheel)
    : QWidget(nullptr, Qt::Tool | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint |
                           Qt::WindowDoesNotAcceptFocus | Qt::X11BypassWindowManagerHint |
                           Qt::WindowTransparentForInput),
      options_(options), geometry_{options.diameter}, content_(new BackdropView(geometry_, this)),
      handle_(nullptr), scaleEffect_(new OpenScaleEffect(content_)),
      alphaAnimation_(new QVariantAnimation(this)), scaleAnimation_(new QVariantAnimation(this)) {
    setAttribute(Qt::WA_ShowWithoutActivating);
    setAttribute(Qt::WA_TranslucentBackground, translucent());
    setAttribute(Qt::WA_NoSystemBackground, translucent());
    setFocusPolicy(Qt::NoFocus);
    const int side = static_cast<int>(std::lround(geometry_.side()));
    resize(side, side);

    content_->setGeometry(0, 0, side, side);
    content_->setGraphicsEffect(scaleEffect_);
    scaleEffect_->setOverBackground(!translucent());
    if (makeWheel) wheel_ = makeWheel(options.diameter, content_);
    if (wheel_) wheel_->setGeometry(0, 0, side, side);
    if (auto* view = qobject_cast<WheelView*>(wheel_)) {
        connect(view, &WheelView::refreshed, this, [this] { scaleEffect_->contentChanged(); });
        scaleEffect_->contentAnimating = [view] { return view->graphic().isAnimating(); };
    }
    handle_ = new DragHandleView(content_);
    handle_->setGeometry(topDown(geometry_.dragHandle(), geometry_.side()));
    handle_->hide();

    connect(alphaAnimation_, &QVariantAnimation::valueChanged, this,
            [this](const QVariant& value) { showAlpha(value.toDouble()); });
    connect(scaleAnimation_, &QVariantAnimation::valueChanged, this,
            [this](const QVariant& t) { showOpenFrame(t.toDouble()); });
    connect(scaleAnimation_, &QVariantAnimation::finished, this, [this] { setOpenScale(1.0); });
    // The native window exists from here on, so the first showing is quick.
    winId();
    applyMask();
}

OverlayPanel::~OverlayPanel() = default;

platform::Rect OverlayPanel::frame() const {
    return DesktopCoordinates::fromQt(geometry());
}

void OverlayPanel::setFrame(platform::Rect frame) {
    const QRect target = DesktopCoordinates::toQt(frame);
    if (target.size() != size()) resize(target.size());
    move(target.topLeft());
}

void OverlayPanel::setAlpha(double alpha) {
    alphaAnimation_->stop();
    showAlpha(alpha);
    mapIfWanted();
}

// Only a compositor shows the window's opacity; without one, changing it
// would cost a round trip to the X server for nothing on screen. An opaque
// panel under a compositor (for high contrast) only fades on close. A
// compositor may wait for damage before it draws again, so each new opacity
// comes with a pixel of the window repainted: without it a fade stands still
// on an otherwise quiet desktop and the wheel vanishes at its end.
void OverlayPanel::showAlpha(double alpha) {
    alpha_ = alpha;
    if (!translucent() && windowOpacity() == alpha) return;
    setWindowOpacity(alpha);
    update(QRect(width() / 2, height() / 2, 1, 1));
}

void OverlayPanel::animateAlpha(double to, double seconds) {
    alphaAnimation_->stop();
    startAlphaAnimation(alpha_, to, seconds);
}

// Without a compositor nobody sees a fade, so the alpha takes its end value
// at once instead of waking the program for every step of it.
void OverlayPanel::fadeAlpha(double from, double to, double seconds) {
    alphaAnimation_->stop();
    if (!translucent()) {
        showAlpha(to);
        return;
    }
    startAlphaAnimation(from, to, seconds);
}

void OverlayPanel::startAlphaAnimation(double from, double to, double seconds) {
    alphaAnimation_->setDuration(static_cast<int>(std::lround(seconds * 1000)));
    alphaAnimation_->setStartValue(from);
    alphaAnimation_->setEndValue(to);
    alphaAnimation_->setEasingCurve(easeOut());
    alphaAnimation_->start();
}

void OverlayPanel::orderFront() {
    wantsFront_ = true;
    mapIfWanted();
    raise();
}

void OverlayPanel::orderOut() {
    wantsFront_ = false;
    alphaAnimation_->stop();
    scaleAnimation_->stop();
    setOpenScale(1.0);
    hide();
}

// Without a compositor an alpha of 0 shows nothing but the raw window, so an
// invisible panel stays unmapped until it has something to show.
void OverlayPanel::mapIfWanted() {
    const bool map = wantsFront_ && (translucent() || alpha_ > 0.001);
    if (map && !QWidget::isVisible()) show();
    if (!map && QWidget::isVisible()) hide();
}

void OverlayPanel::setIgnoresMouseEvents(bool ignores) {
    if (testAttribute(Qt::WA_TransparentForMouseEvents) == ignores &&
        windowFlags().testFlag(Qt::WindowTransparentForInput) == ignores)
        return;
    const bool shown = QWidget::isVisible();
    // Changing window flags unmaps the window; put it back as it was.
    setWindowFlag(Qt::WindowTransparentForInput, ignores);
    setAttribute(Qt::WA_TransparentForMouseEvents, ignores);
    // The native window may be a new one: give it the shape again.
    maskedBox_ = QRect();
    applyMask();
    if (shown) {
        show();
        raise();
    }
}

void OverlayPanel::setDragHandleHidden(bool hidden) {
    handle_->setHidden(hidden);
    applyMask();
}

void OverlayPanel::setOnClose(std::function<void()> onClose) {
    handle_->onClose = std::move(onClose);
}

void OverlayPanel::playOpenAnimation(const OpenAnimation& animation) {
    fadeAlpha(0.0, alpha_, animation.fadeDuration());

    scaleAnimation_->stop();
    setOpenScale(1.0);
    if (!animation.scales()) return;
    // The animation runs on elapsed time; the spring's own curve gives the scale.
    openAnimation_ = animation;
    const double duration = animation.scaleDuration();
    scaleAnimation_->setDuration(static_cast<int>(std::lround(duration * 1000)));
    scaleAnimation_->setStartValue(0.0);
    scaleAnimation_->setEndValue(duration);
    setOpenScale(OpenAnimation::startScale);
    scaleAnimation_->start();
}

// Each frame repaints the wheel and sends it to the X server (and, without a
// compositor, reshapes the window), so a frame that would move the rim by
// less than half a pixel is left out, as the spring's end leaves out the rest.
void OverlayPanel::showOpenFrame(double seconds) {
    const double scale = openAnimation_.scaleAt(seconds);
    if (scale != 1.0 && !openAnimation_.movesRim(openScale_, scale)) return;
    setOpenScale(scale);
}

void OverlayPanel::setOpenScale(double scale) {
    const bool changed = scale != openScale_;
    openScale_ = scale;
    scaleEffect_->setScale(scale);
    // Without a compositor the window's shape is the disc: it grows with the
    // spring, so no frame shows the bare window around a smaller wheel.
    if (changed) applyMask();
}

// Without a compositor the X server exposes the ring the disc grows by on
// each frame of the spring; every frame repaints and sends the whole disc
// after its reshape anyway, and the spring ends on a full repaint at rest, so
// those exposures would only send the same pixels a second time.
bool OverlayPanel::nativeEvent(const QByteArray& eventType, void* message, qintptr* result) {
    if (!translucent() && scaleAnimation_->state() == QAbstractAnimation::Running && windowHandle() &&
        windowHandle()->isExposed() && isNativeExpose(eventType, message))
        return true;
    return QWidget::nativeEvent(eventType, message, result);
}

// The first showing of the window costs more than any later one: the
// toolkit makes the window's buffer and the opening its image of the wheel,
// and their memory is first written. Above and left of the X server's root,
// which starts at 0, 0, no screen shows the window.
void OverlayPanel::prewarm() {
    move(-2 * width(), -2 * height());
    orderFront();
    setOpenScale(OpenAnimation::startScale);
}

QRegion OverlayPanel::backdropRegion() const {
    return QRegion(topDown(geometry_.disc(), geometry_.side()), QRegion::Ellipse);
}

int OverlayPanel::level() const {
    return windowFlags().testFlag(Qt::WindowStaysOnTopHint) ? 1 : 0;
}

// Without a compositor the window's shape follows the spring every frame, so
// the disc's region is built from its rows rather than through Qt's polygon
// fill; at rest it is Qt's own ellipse, as the wheel was always cut. The shape
// is the native window's, not the widget's: a widget's mask cuts every repaint
// to it, and the toolkit then sends a repainted disc to the X server row by
// row, a request per row; uncut, a frame goes over in one.
void OverlayPanel::applyMask() {
    // With a compositor the window is never cut: its transparency shows.
    if (translucent()) return;
    // While the spring plays, the scaled wheel's opaque image covers the whole
    // shape unless the handle is part of it, so the window's background would
    // only be painted over.
    setAttribute(Qt::WA_OpaquePaintEvent, openScale_ != 1.0 && handle_->isHidden());
    const double side = geometry_.side();
    const QRectF disc = topDown(geometry_.disc(), side);
    const QSizeF scaled = disc.size() * openScale_;
    const QRect box =
        QRectF(disc.center() - QPointF(scaled.width() / 2, scaled.height() / 2), scaled).toAlignedRect();
    const bool withHandle = !handle_->isHidden();
    if (box == maskedBox_ && withHandle == maskedWithHandle_) return;
    maskedBox_ = box;
    maskedWithHandle_ = withHandle;
    QRegion shape;
    if (box == disc.toAlignedRect()) {
        if (restingDisc_.isEmpty()) restingDisc_ = QRegion(box, QRegion::Ellipse);
        shape = restingDisc_;
    } else {
        std::vector<QRect> rows;
        for (const PixelRun& run : discRuns(box.x(), box.y(), box.width(), box.height()))
            rows.emplace_back(QPoint(run.left, run.top), QPoint(run.right - 1, run.bottom - 1));
        shape.setRects(rows.data(), static_cast<int>(rows.size()));
    }
    if (withHandle) {
        QPainterPath handle;
        handle.addRoundedRect(QRectF(handle_->geometry()), 13, 13);
        shape += QRegion(handle.toFillPolygon().toPolygon());
    }
    windowHandle()->setMask(shape);
    scaleEffect_->setShown(shape);
    // At rest the window shows the disc and the handle; the spring scales
    // them about the centre, so nothing else is ever shown.
    scaleEffect_->setHeld(withHandle ? disc.toAlignedRect() | handle_->geometry() : disc.toAlignedRect());
}

} // namespace rondelix
