#include "settings/ui/BindingsPage.h"

#include "model/AutomationWords.h"
#include "settings/SummonBindings.h"
#include "settings/ui/BindingRow.h"
#include "settings/ui/QtKeyEventMonitor.h"
#include "settings/ui/SettingsText.h"
#include "store/ConfigStore.h"

#include <QPushButton>
#include <QVBoxLayout>

namespace rondelix {

BindingsPage::BindingsPage(ConfigStore& store, HotkeyManager& engine, const platform::KeyboardLayout& layout,
                           std::shared_ptr<BindingsHost> host, QWidget* parent)
    : SettingsPage(store, parent), services_{store, engine, layout, std::move(host),
                                             QtKeyEventMonitor::factory(layout)} {
    setObjectName("bindingsPage");
    QVBoxLayout* bindings = addSection(
        "Summon Bindings",
        "A binding is a key or button you hold to summon the wheel: a modifier, function key (F1–F20), "
        "spare mouse button, or chord (e.g. Super+R). Set a hold delay to let a quick tap pass through.");
    rowsLayout_ = new QVBoxLayout;
    rowsLayout_->setSpacing(8);
    bindings->addLayout(rowsLayout_);
    // The rows first, so that Tab reaches them before the buttons under them.
    onRefresh([this] { syncRows(); });
    auto* add = new QPushButton("Add Binding", bindings->parentWidget());
    add->setObjectName("addBinding");
    SettingsText::setSymbol(*add, "plus");
    bindings->addWidget(add, 0, Qt::AlignLeft);
    connect(add, &QPushButton::clicked, this, [this] { addBinding(store_); });

    QVBoxLayout* setup = addSection("", "Bluetooth, Do Not Disturb and Night Light toggles fire through " +
                                            std::string(AutomationWords::plural) + " you install once.");
    auto* systemActions = new QPushButton("Set Up System Actions…", setup->parentWidget());
    systemActions->setObjectName("setUpSystemActions");
    SettingsText::setSymbol(*systemActions, "switch.2");
    setup->addWidget(systemActions, 0, Qt::AlignLeft);
    connect(systemActions, &QPushButton::clicked, this, [this] {
        if (services_.host->showSystemActionSetup) services_.host->showSystemActionSetup();
    });
}

void BindingsPage::syncRows() {
    const auto& bindings = store_.config().bindings;
    std::map<Uuid, BindingRow*> kept;
    for (const SummonBinding& binding : bindings) {
        const auto existing = rows_.find(binding.id);
        if (existing != rows_.end()) {
            kept[binding.id] = existing->second;
            rows_.erase(existing);
        } else {
            kept[binding.id] = new BindingRow(binding.id, services_, widget());
        }
    }
    for (const auto& [id, gone] : rows_) {
        // Later: the row's own Remove button may be what removed it. Its
        // recording, if any, stops when it goes.
        rowsLayout_->removeWidget(gone);
        gone->hide();
        gone->deleteLater();
    }
    rows_ = std::move(kept);
    for (const SummonBinding& binding : bindings) {
        BindingRow* row = rows_.at(binding.id);
        rowsLayout_->removeWidget(row);
        rowsLayout_->addWidget(row);
        row->show();
        row->refresh();
    }
}

} // namespace rondelix
