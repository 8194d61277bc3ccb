#pragma once

#include "settings/BindingRowModel.h"
#include "settings/ui/SettingsPage.h"

#include <map>

namespace rondelix {

class BindingRow;

// The summon bindings, one row each in the configuration's order, Add
// Binding, and the setup of the automations some system actions need.
class BindingsPage : public SettingsPage {
  public:
    BindingsPage(ConfigStore& store, HotkeyManager& engine, const platform::KeyboardLayout& layout,
                 std::shared_ptr<BindingsHost> host, QWidget* parent);

  private:
    // Keeps one row per binding: a row whose binding is still there keeps
    // its state (a recording goes on); a row whose binding went is dropped.
    void syncRows();

    BindingRowModel::Services services_;
    QVBoxLayout* rowsLayout_;
    std::map<Uuid, BindingRow*> rows_;
};

} // namespace rondelix
