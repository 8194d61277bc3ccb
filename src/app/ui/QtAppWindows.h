#pragma once

#include "app/AppWindows.h"

#include <QPointer>

class QWidget;

namespace rondelix {

class AppCoordinator;
class MainWindow;
class SideWindow;

// The program's windows as Qt windows. The coordinator is attached once it
// exists; the main window's view reads it.
class QtAppWindows final : public AppWindows {
  public:
    ~QtAppWindows() override;

    void attach(AppCoordinator& coordinator) { coordinator_ = &coordinator; }
    // Destroys every window; their views read the coordinator, so this runs
    // before the coordinator goes.
    void destroyAll();

    State state(Kind kind) const override;
    bool programIsActive() const override;
    void makeMain(MainTab tab) override;
    void openOnboarding(OnboardingStep step) override;
    void openShortcutSetup(const std::optional<std::string>& highlight) override;
    void openHowItWorks() override;
    void bringForward(Kind kind) override;
    void orderOut(Kind kind) override;
    void close(Kind kind) override;

  private:
    QWidget* window(Kind kind) const;
    QPointer<SideWindow>& side(Kind kind);
    void openSide(Kind kind, const QString& title);

    AppCoordinator* coordinator_ = nullptr;
    QPointer<MainWindow> main_;
    QPointer<SideWindow> onboarding_;
    QPointer<SideWindow> shortcutSetup_;
    QPointer<SideWindow> howItWorks_;
};

} // namespace rondelix
