#pragma once

#include "settings/AppearanceSettings.h"
#include "settings/ui/SettingsPage.h"
#include "util/Signal.h"

#include <functional>

namespace rondelix {

// The wheel's look: size (with a live preview), position, transparency,
// accent, the test wheel and the reset; and the app window's glass backdrop.
class AppearancePage : public SettingsPage {
  public:
    AppearancePage(ConfigStore& store, OverlayController& overlay, TestWheelControl testWheel,
                   QWidget* parent);
    ~AppearancePage() override;

  protected:
    void hideEvent(QHideEvent* event) override;

  private:
    void addWheelSection();
    void addAppSection();

    AppearanceSettings settings_;
    std::function<void()> showTestState_;
    ScopedConnection testWheelConnection_;
};

} // namespace rondelix
