#include "settings/GeneralSettings.h"

#include "store/ConfigStore.h"
#include "store/ConfigTransfer.h"

#include <utility>

namespace rondelix {

GeneralSettings::GeneralSettings(ConfigTransferServices transfer, ShellHooks shell)
    : transfer_(transfer), shell_(std::move(shell)) {}

bool GeneralSettings::launchAtLogin() const {
    return transfer_.store.config().general.launchAtLogin;
}

void GeneralSettings::setLaunchAtLogin(bool on) {
    transfer_.store.mutate([on](Config& config) { config.general.launchAtLogin = on; });
    transfer_.store.applyLaunchAtLogin(on);
}

void GeneralSettings::exportConfig() {
    ConfigTransfer(transfer_).exportConfig();
}

void GeneralSettings::importConfig() {
    ConfigTransfer(transfer_).importConfig();
}

platform::Alert GeneralSettings::resetAlert() {
    platform::Alert alert;
    alert.style = platform::Alert::Style::warning;
    alert.message = "Reset to Defaults?";
    alert.informativeText = "All wheels, bindings, and settings will be replaced with the defaults. To keep "
                            "your current setup, use "
                            "Export Config… above first — it saves all your wheels, bindings, and settings. "
                            "Otherwise they’ll be lost.";
    alert.buttons = {"Reset", "Cancel"};
    alert.defaultButton = 0;
    return alert;
}

void GeneralSettings::confirmResetToDefaults() {
    if (transfer_.dialogs.runAlert(resetAlert()) != 0) return;
    transfer_.store.resetToDefaults();
    if (shell_.resetWindowSizes) shell_.resetWindowSizes();
    if (shell_.relockDevMenu) shell_.relockDevMenu();
}

} // namespace rondelix
