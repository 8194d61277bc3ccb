#pragma once

#include "platform/Dialogs.h"
#include "store/ConfigTransferServices.h"

#include <functional>

namespace rondelix {

// The General page: launch at login, automatic update checks, moving the
// whole configuration in and out of a file, and the reset to the factory one.
class GeneralSettings {
  public:
    // What the reset needs of the application shell besides the store.
    struct ShellHooks {
        std::function<void()> resetWindowSizes;
        std::function<void()> relockDevMenu;
    };

    GeneralSettings(ConfigTransferServices transfer, ShellHooks shell);

    bool launchAtLogin() const;
    // Stores the wish, then asks the system; when the system refuses, the
    // setting follows what it really did.
    void setLaunchAtLogin(bool on);

    void exportConfig();
    void importConfig();

    // Asks first; on "Reset" replaces wheels, bindings and settings with the
    // factory ones, forgets the window sizes and hides the Development page.
    void confirmResetToDefaults();
    static platform::Alert resetAlert();

  private:
    ConfigTransferServices transfer_;
    ShellHooks shell_;
};

} // namespace rondelix
