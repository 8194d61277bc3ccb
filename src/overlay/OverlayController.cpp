#include "overlay/OverlayController.h"

#include "model/WheelState.h"
#include "overlay/CaretLocator.h"
#include "overlay/OverlayPlacement.h"

#include <algorithm>
#include <cstdio>

namespace rondelix {

using platform::Point;
using platform::Rect;
using platform::Size;

namespace {

constexpr double prewarmOrderOutDelay = 0.15;
constexpr int testHighlightPosition = 2;

const char* text(bool value) {
    return value ? "true" : "false";
}

std::string rebuildKey(double diameter, bool glass, bool opaque) {
    return std::to_string(static_cast<int>(diameter)) + "-" + text(glass) + "-" + text(opaque);
}

double overlapArea(const Rect& a, const Rect& b) {
    const double w = std::min(a.maxX(), b.maxX()) - std::max(a.minX(), b.minX());
    const double h = std::min(a.maxY(), b.maxY()) - std::max(a.minY(), b.minY());
    return (w > 0 && h > 0) ? w * h : 0;
}

} // namespace

OverlayController::OverlayController(WheelState& wheelState, BehaviorSource behavior, Services services,
                                     SurfaceFactory makeSurface)
    : wheelState_(wheelState), behavior_(std::move(behavior)), services_(services),
      makeSurface_(std::move(makeSurface)) {}

OverlayController::~OverlayController() {
    lifetime_.end();
    prewarmOrderOut_.cancel();
    removeTestEscMonitor();
}

OverlayController::Look OverlayController::currentLook(const Behavior& behavior) const {
    const platform::DisplayOptions options = services_.screens.displayOptions();
    Look look;
    look.opaque = options.reduceTransparency || options.increaseContrast;
    look.glass = behavior.liquidGlassEnabled && !look.opaque;
    look.reduceMotion = options.reduceMotion;
    look.compositor = options.compositor;
    return look;
}

double OverlayController::restingAlpha(const Behavior& behavior) const {
    if (currentLook(behavior).opaque) return 1.0;
    return std::max(behavior.opacity, panel_ ? panel_->alphaFloor() : 0.0);
}

void OverlayController::buildPanel(const PanelOptions& options) {
    panel_ = makeSurface_(options);
    panel_->setDragHandleHidden(true);
    panel_->setOnClose([alive = lifetime_.watch(), this] {
        if (alive) callTestEscape();
    });
}

void OverlayController::show(Point pointer) {
    previewingSize_ = false;
    const Behavior behavior = behavior_();
    present(behavior.wheelSize, behavior.position, true, pointer);
}

void OverlayController::present(double diameter, Behavior::Position at, bool animate,
                                std::optional<Point> pointer) {
    const Behavior behavior = behavior_();
    const Look look = currentLook(behavior);
    const std::string key = rebuildKey(diameter, look.glass, look.opaque);
    if (!panel_ || builtSignature_ != key) {
        if (panel_) panel_->orderOut();
        buildPanel({diameter, look.glass, look.opaque});
        builtSignature_ = key;
    }
    // A prewarm still waiting to put its unseen panel away must not take this
    // wheel off the screen. The panel, still shown off every screen, is moved
    // onto it as it stands: putting it away first would make the summon wait
    // for the window to be unmapped and mapped again.
    prewarmOrderOut_.cancel();

    currentWheelDiameter_ = diameter;
    closing_ = false;
    place(at, pointer.value_or(services_.screens.pointerLocation()));
    if (testRecenterTo_) {
        const Rect frame = panel_->frame();
        panel_->setFrame({testRecenterTo_->x - frame.width / 2, testRecenterTo_->y - frame.height / 2,
                          frame.width, frame.height});
    }
    panel_->setAlpha(restingAlpha(behavior));
    panel_->orderFront();
    if (animate) panel_->playOpenAnimation({.reduceMotion = look.reduceMotion, .wheelDiameter = diameter});
    panel_->setIgnoresMouseEvents(!testModeActive_);
    panel_->setDragHandleHidden(!testModeActive_);
    wheelState_.setVisible(true);
}

void OverlayController::place(Behavior::Position position, Point pointer) {
    const Size size = panel_->frame().size();
    Point origin;
    switch (position) {
    case Behavior::Position::cursor:
        origin = OverlayPlacement::cursorOrigin(services_.screens, pointer, size, currentWheelDiameter_);
        break;
    case Behavior::Position::screenCenter:
        origin = OverlayPlacement::screenCenterOrigin(services_.screens, pointer, size);
        break;
    case Behavior::Position::textCaret:
        origin = textCaretOrigin(size, pointer);
        break;
    }
    panel_->setFrame({origin.x, origin.y, size.width, size.height});
}

Point OverlayController::textCaretOrigin(Size size, Point pointer) const {
    const auto caret = CaretLocator::caretRect(services_.accessibility, services_.screens, services_.queue);
    return OverlayPlacement::caretOrigin(services_.screens, caret, pointer, size, currentWheelDiameter_);
}

void OverlayController::hide() {
    const Behavior behavior = behavior_();
    const int fadeMs = behavior.closeFadeEnabled ? behavior.closeFadeMs : 0;
    // Where the desktop cannot show a fade, the wheel goes at once rather
    // than standing fully drawn for the fade's time.
    if (fadeMs >= 1 && panel_ && panel_->isVisible() && currentLook(behavior).compositor) {
        if (closing_) return;
        closing_ = true;
        const int generation = ++fadeGeneration_;
        const double seconds = fadeMs / 1000.0;
        panel_->animateAlpha(0, seconds);
        services_.queue.after(seconds, [alive = lifetime_.watch(), this, generation] {
            if (!alive || fadeGeneration_ != generation) return;
            if (closing_) {
                closing_ = false;
                wheelState_.reset();
                if (panel_) panel_->orderOut();
            }
            // Ready for the next present, whether or not this fade closed the wheel.
            if (panel_) panel_->setAlpha(restingAlpha(behavior_()));
        });
        return;
    }
    closing_ = false;
    wheelState_.reset();
    if (panel_) panel_->orderOut();
}

std::optional<SummonPanel> OverlayController::visiblePanel() const {
    if (!panel_ || !panel_->isVisible()) return std::nullopt;
    const Rect frame = panel_->frame();
    return SummonPanel{frame.midX(), frame.midY(), currentWheelDiameter_};
}

void OverlayController::prewarm() {
    if (panel_) return;
    const Behavior behavior = behavior_();
    const Look look = currentLook(behavior);
    buildPanel({behavior.wheelSize, look.glass, look.opaque});
    builtSignature_ = rebuildKey(behavior.wheelSize, look.glass, look.opaque);
    currentWheelDiameter_ = behavior.wheelSize;
    // Shown off every screen, it may take the alpha it will be summoned with.
    panel_->setAlpha(restingAlpha(behavior));
    panel_->prewarm();
    prewarmOrderOut_ = services_.queue.after(prewarmOrderOutDelay, [alive = lifetime_.watch(), this] {
        if (alive && panel_) panel_->orderOut();
    });
}

std::string OverlayController::diagnosticsSummary() const {
    if (!panel_) return "(no panel built)";
    const Rect frame = panel_->frame();
    std::string onScreen = "none";
    double bestOverlap = 0;
    const auto screens = services_.screens.screens();
    for (std::size_t i = 0; i < screens.size(); ++i) {
        const double overlap = overlapArea(frame, screens[i].frame);
        if (overlap > bestOverlap) {
            bestOverlap = overlap;
            onScreen = std::to_string(i);
        }
    }
    char alpha[32];
    std::snprintf(alpha, sizeof alpha, "%.2f", panel_->alpha());
    char behaviorFlags[32];
    std::snprintf(behaviorFlags, sizeof behaviorFlags, "%lX", panel_->windowBehavior());
    auto integer = [](double v) { return std::to_string(static_cast<long long>(v)); };

    return "built=" + builtSignature_.value_or("-") + " visible=" + text(panel_->isVisible()) +
           " alpha=" + alpha + " level=" + std::to_string(panel_->level()) +
           "(shield=" + std::to_string(panel_->shieldLevel()) + ")" + " coll=0x" + behaviorFlags +
           " frame=" + integer(frame.x) + "," + integer(frame.y) + " " + integer(frame.width) + "x" +
           integer(frame.height) + " onScreen=" + onScreen + " closing=" + text(closing_) +
           " preview=" + text(previewingSize_) +
           " wheel\u2300=" + std::to_string(static_cast<int>(currentWheelDiameter_));
}

void OverlayController::setTestMode(bool on) {
    testModeActive_ = on;
    if (!on) {
        removeTestEscMonitor();
        hide();
        return;
    }
    previewingSize_ = false;
    const Behavior behavior = behavior_();
    present(behavior.wheelSize, behavior.position, true);
    wheelState_.setAimedPosition(testHighlightPosition);
    addTestEscMonitor();
}

void OverlayController::addTestEscMonitor() {
    removeTestEscMonitor();
    testEscMonitor_ = services_.escapeMonitor.add([alive = lifetime_.watch(), this] {
        if (alive) callTestEscape();
    });
}

void OverlayController::removeTestEscMonitor() {
    if (!testEscMonitor_) return;
    services_.escapeMonitor.remove(*testEscMonitor_);
    testEscMonitor_.reset();
}

void OverlayController::callTestEscape() {
    if (onTestEscape) onTestEscape();
}

void OverlayController::refreshTestWheelOpacity() {
    if (!testModeActive_ || !panel_) return;
    panel_->setAlpha(restingAlpha(behavior_()));
}

void OverlayController::refreshTestWheelSize() {
    if (!testModeActive_ || !panel_) return;
    // Keep the wheel where the user dragged it while it grows or shrinks.
    testRecenterTo_ = panel_->frame().center();
    present(behavior_().wheelSize, Behavior::Position::cursor, false);
    testRecenterTo_.reset();
    wheelState_.setAimedPosition(testHighlightPosition);
}

void OverlayController::beginSizePreview() {
    if (panel_ && panel_->isVisible() && !closing_) return;
    previewingSize_ = true;
    wheelState_.setAimedPosition(std::nullopt);
    present(behavior_().wheelSize, Behavior::Position::cursor, true);
}

} // namespace rondelix
