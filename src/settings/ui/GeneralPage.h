#pragma once

#include "settings/GeneralSettings.h"
#include "settings/ui/SettingsPage.h"

namespace rondelix {

// Launch at login, automatic update checks, export, import and the reset.
class GeneralPage : public SettingsPage {
  public:
    GeneralPage(ConfigTransferServices transfer, GeneralSettings::ShellHooks shell, QWidget* parent);

  private:
    GeneralSettings settings_;
};

} // namespace rondelix
