#pragma once

#include "platform/Log.h"
#include "platform/Permissions.h"
#include "util/Signal.h"

namespace rondelix {

// Whether the two grants the summon engine needs are in place. The system's
// answer is read on refresh(); a real event seen by a tap proves a grant at
// once, before the system's own answer catches up, until a refresh in which
// the system says no. Main thread only.
class PermissionsCheck final {
  public:
    PermissionsCheck(platform::Permissions& permissions, platform::Log& log);

    bool accessibilityTrusted() const { return accessibilityTrusted_; }
    bool inputMonitoringTrusted() const { return inputMonitoringTrusted_; }

    // Told only when the value really changes.
    Signal<bool> accessibilityTrustedChanged;
    Signal<bool> inputMonitoringTrustedChanged;

    void refresh();

    // The listen tap saw a real event from another application.
    void confirmInputMonitoring();
    // The armed tap saw a real event from another application.
    void confirmAccessibility();

    // Asks the system both ways it offers; answers whether either reported success.
    bool requestInputMonitoring();

    // Makes the system list the program where listening is granted; called
    // once at launch, before the check is built.
    static void primeInputMonitoringRegistration(platform::Permissions& permissions, platform::Log& log);

    void openInputMonitoringSettings() { permissions_.openInputMonitoringSettings(); }
    void openAccessibilitySettings() { permissions_.openAccessibilitySettings(); }
    void bringSystemPermissionPromptToFront() { permissions_.bringPermissionPromptToFront(); }

    // Whether the program may automate the system's event helper, without asking.

  private:
    void setAccessibilityTrusted(bool value);
    void setInputMonitoringTrusted(bool value);

    platform::Permissions& permissions_;
    platform::Log& log_;
    bool accessibilityTrusted_ = false;
    bool inputMonitoringTrusted_ = false;
    bool sawGlobalListenEvent_ = false;
    bool sawGlobalArmedEvent_ = false;
};

} // namespace rondelix
