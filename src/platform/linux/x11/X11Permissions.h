#pragma once

#include "platform/Log.h"
#include "platform/Permissions.h"

#include <chrono>
#include <string>

namespace rondelix::platform::linux_desktop {

// An X11 session grants global input to every program: both grants read as
// given whenever the display, XInput 2.1 and XTEST can be reached, and as
// denied otherwise (a pure Wayland session, no display), with the reason
// logged whenever the answer changes. There is nothing to request, no
// prompt and no settings page.
class X11Permissions final : public Permissions {
  public:
    explicit X11Permissions(Log& log, std::string displayName = {});

    bool isAccessibilityTrusted() override { return reachable(); }
    bool canListenToInput() override { return reachable(); }
    bool requestInputAccess() override { return reachable(); }
    bool requestListenAccess() override { return reachable(); }
    bool primeListenRegistration() override { return reachable(); }
    void openInputMonitoringSettings() override;
    void openAccessibilitySettings() override;
    void bringPermissionPromptToFront() override {}

  private:
    bool reachable();
    void noSettingsPage();

    Log& log_;
    std::string displayName_;
    std::string lastWhy_;
    bool everAsked_ = false;
    // Start-up and each refresh ask several questions in a row; one probe of
    // the X server answers them all.
    std::chrono::steady_clock::time_point lastProbe_;
};

} // namespace rondelix::platform::linux_desktop
