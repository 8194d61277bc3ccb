#pragma once

#include "engine/SummonOverlay.h"
#include "model/Behavior.h"
#include "overlay/EscapeMonitor.h"
#include "overlay/OverlaySurface.h"
#include "platform/Accessibility.h"
#include "platform/MainQueue.h"
#include "platform/Screens.h"
#include "util/LifetimeGuard.h"

#include <functional>
#include <memory>
#include <optional>
#include <string>

namespace rondelix {

class WheelState;

// Owns the one floating panel that shows the wheel over every program: builds
// it (ahead of time, and again when its size or look changes), places it at
// the pointer, the screen centre or the text caret, opens it with a short
// spring and fades it out on hide. Also runs the settings' test wheel and the
// size preview. Main thread only.
class OverlayController final : public SummonOverlay {
  public:
    using SurfaceFactory = std::function<std::unique_ptr<OverlaySurface>(const PanelOptions&)>;
    using BehaviorSource = std::function<Behavior()>;

    struct Services {
        platform::MainQueue& queue;
        platform::Screens& screens;
        platform::Accessibility& accessibility;
        EscapeMonitor& escapeMonitor;
    };

    OverlayController(WheelState& wheelState, BehaviorSource behavior, Services services,
                      SurfaceFactory makeSurface);
    ~OverlayController() override;
    OverlayController(const OverlayController&) = delete;
    OverlayController& operator=(const OverlayController&) = delete;

    // The summon's entry: the configured size and position, animated, for
    // the pointer where it was when the summon came due.
    void show(platform::Point pointer) override;
    // For the pointer where it is now, unless given.
    void present(double diameter, Behavior::Position at, bool animate,
                 std::optional<platform::Point> pointer = std::nullopt);
    // Closes the wheel, with the close fade when one is configured.
    void hide() override;
    // Where the open wheel is, for aiming; none while no panel is on screen.
    std::optional<SummonPanel> visiblePanel() const override;
    // Builds the panel ahead of the first summon; nothing when one exists.
    void prewarm();

    std::string diagnosticsSummary() const;

    // Test mode and the size preview.
    void setTestMode(bool on);
    void refreshTestWheelSize();
    void refreshTestWheelOpacity();
    void beginSizePreview();
    void removeTestEscMonitor();

    bool testModeActive() const { return testModeActive_; }
    void setTestModeActive(bool active) { testModeActive_ = active; }
    bool previewingSize() const { return previewingSize_; }
    void setPreviewingSize(bool previewing) { previewingSize_ = previewing; }
    bool closing() const { return closing_; }
    double currentWheelDiameter() const { return currentWheelDiameter_; }
    // The panel as built, if any; for views and tests that look at it.
    const OverlaySurface* panel() const { return panel_.get(); }

    // Set by the coordinator; ends test mode (Esc, or the handle's close button).
    std::function<void()> onTestEscape;

  private:
    // Read once per summon: each reading of the display options asks the desktop.
    struct Look {
        bool opaque = false;
        bool glass = false;
        bool reduceMotion = false;
        // The desktop shows the panel's alpha: without it a fade is not seen.
        bool compositor = true;
    };

    Look currentLook(const Behavior& behavior) const;
    double restingAlpha(const Behavior& behavior) const;
    void buildPanel(const PanelOptions& options);
    void place(Behavior::Position position, platform::Point pointer);
    platform::Point textCaretOrigin(platform::Size size, platform::Point pointer) const;
    void addTestEscMonitor();
    void callTestEscape();

    WheelState& wheelState_;
    BehaviorSource behavior_;
    Services services_;
    SurfaceFactory makeSurface_;
    // Cleared on destruction; deferred steps check it before touching us.
    LifetimeGuard lifetime_;

    std::unique_ptr<OverlaySurface> panel_;
    std::optional<std::string> builtSignature_;
    double currentWheelDiameter_ = 0;
    bool closing_ = false;
    int fadeGeneration_ = 0;
    bool testModeActive_ = false;
    std::optional<EscapeMonitor::Token> testEscMonitor_;
    std::optional<platform::Point> testRecenterTo_;
    bool previewingSize_ = false;
    platform::Cancel prewarmOrderOut_;
};

} // namespace rondelix
