#pragma once

namespace rondelix::platform {

// The two grants global input needs: Accessibility (to intercept and to read
// the text caret) and Input Monitoring (to listen).
class Permissions {
  public:
    virtual ~Permissions() = default;

    // Whether the program is trusted for accessibility; never prompts.
    virtual bool isAccessibilityTrusted() = 0;

    // Whether listening to global input is allowed; never prompts.
    virtual bool canListenToInput() = 0;

    // Asks the system to allow listening, the two ways it offers; each
    // answers whether it reported success.
    virtual bool requestInputAccess() = 0;
    virtual bool requestListenAccess() = 0;

    // Makes the system list the program where the user grants listening,
    // by attempting to listen once. Answers whether the attempt got through.
    virtual bool primeListenRegistration() = 0;

    // Open the system's settings page for each grant.
    virtual void openInputMonitoringSettings() = 0;
    virtual void openAccessibilitySettings() = 0;

    // Brings the system's accessibility prompt to the front when it is open.
    virtual void bringPermissionPromptToFront() = 0;
};

} // namespace rondelix::platform
