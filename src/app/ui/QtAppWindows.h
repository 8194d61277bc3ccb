#pragma once

#include "app/AppWindows.h"
#include "app/ui/FocusReturn.h"
#include "app/ui/GlassBackdrop.h"
#include "app/ui/PageContext.h"
#include "util/Signal.h"

#include <QMargins>
#include <QPointer>
#include <cstddef>
#include <functional>
#include <map>
#include <optional>
#include <vector>

class QWidget;

namespace rondelix {

class AppCoordinator;
class MainWindow;
class SideWindow;

// The program's windows as Qt windows. The coordinator is attached once it
// exists; the windows' views read it.
class QtAppWindows final : public AppWindows {
  public:
    // The frame the window manager will draw around a window not shown yet;
    // empty margins when it cannot tell.
    using FrameEstimate = std::function<QMargins(QWidget& window)>;

    explicit QtAppWindows(GlassBackdrop::Environment backdrop = {}, FrameEstimate frame = {});
    ~QtAppWindows() override;

    // The windows' pages use the coordinator's services and draw their wheels'
    // icons from `icons`. Also follows the glass setting, so that flipping it
    // changes every open window at once.
    void attach(AppCoordinator& coordinator, SliceIconSources& icons);
    // Destroys every window; their views read the coordinator, so this runs
    // before the coordinator goes.
    void destroyAll();

    State state(Kind kind) const override;
    bool programIsActive() const override;
    void makeMain(ContentSize size, ContentSize minimum) override;
    void fitMain(ContentSize size, ContentSize minimum, bool animated) override;
    void openSide(Kind kind, const SideRequest& request) override;
    void bringForward(Kind kind) override;
    void orderOut(Kind kind) override;
    void close(Kind kind) override;
    // The X11 desktop lists every program with a window alike.
    void setRegularActivation(bool) override {}

    // A compositor started or stopped: every window follows at once.
    void setCompositor(bool running);
    // The compositor said anew whether it blurs: every window asks it again.
    void blurOfferChanged();
    // The desktop's high contrast asks for no see-through window: glass is
    // off while it is on, in every window at once.
    void setHighContrast(bool on);

    // Whether a tray icon offers the way back; without one the main window
    // tells that closing it leaves the program running.
    void setTrayShown(bool shown);
    bool trayShown() const override { return trayShown_; }

    MainWindow* mainWindow() const { return main_; }
    SideWindow* sideWindow(Kind kind) const;

  private:
    QWidget* window(Kind kind) const;
    bool glassEnabled() const;
    void applyGlass();
    void retire(SideWindow* w);

    GlassBackdrop::Environment backdrop_;
    FrameEstimate frame_;
    std::optional<PageContext> context_;
    bool trayShown_ = true;
    bool highContrast_ = false;
    ScopedConnection configConnection_;
    QPointer<MainWindow> main_;
    // The same window as a plain widget, for the focus return: it may ask
    // while the window is being destroyed and is a MainWindow no longer.
    QPointer<QWidget> mainWidget_;
    std::map<Kind, QPointer<SideWindow>> sides_;
    // Closed side windows waiting for their deferred deletion; their pages
    // hold on to the coordinator's services, so they must go before it does.
    std::vector<QPointer<SideWindow>> closing_;
    FocusReturn focusReturn_;
};

} // namespace rondelix
