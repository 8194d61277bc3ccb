#include "settings/ui/GeneralPage.h"

#include "qtshared/ProblemCaption.h"
#include "settings/AboutInfo.h"
#include "settings/ui/SettingsText.h"
#include "store/ConfigStore.h"

#include <QCheckBox>
#include <QLabel>
#include <QPushButton>
#include <QSignalBlocker>
#include <QVBoxLayout>

namespace rondelix {

GeneralPage::GeneralPage(ConfigTransferServices transfer, GeneralSettings::ShellHooks shell, QWidget* parent)
    : SettingsPage(transfer.store, parent), settings_(transfer, std::move(shell)) {
    setObjectName("generalPage");
    QVBoxLayout* section = addSection(
        "General", "Export saves your wheels, bindings, and settings to a file. Import loads them back. "
                   "Reset restores your wheels, bindings, and settings to the defaults.");

    auto* launch = new QCheckBox;
    addLabeledRow(section, {"Launch at login", "power", "Start Rondelix automatically when you log in."},
                  launch);
    auto* launchProblem = new ProblemCaption("launchAtLoginProblem", section->parentWidget());
    section->addWidget(launchProblem);
    connect(launch, &QCheckBox::toggled, this, [this](bool on) { settings_.setLaunchAtLogin(on); });
    onRefresh([this, launch, launchProblem] {
        const QSignalBlocker quiet(launch);
        launch->setChecked(settings_.launchAtLogin());
        launchProblem->say(store_.launchAtLoginProblem());
    });

    // The program does not update itself: in place of a switch that could
    // never act, the section says where the updates come from.
    auto* updates = new QLabel(QString::fromUtf8(AboutInfo::updatesFromSystem.data(),
                                                 static_cast<qsizetype>(AboutInfo::updatesFromSystem.size())),
                               section->parentWidget());
    updates->setObjectName("updatesFromSystem");
    updates->setTextFormat(Qt::PlainText);
    updates->setWordWrap(true);
    SettingsText::setColour(*updates, SettingsText::secondary(*updates));
    section->addWidget(updates);

    const auto addButton = [&](const char* title, const char* symbol, const char* name, auto action) {
        auto* button = new QPushButton(title, section->parentWidget());
        button->setObjectName(name);
        SettingsText::setSymbol(*button, symbol);
        section->addWidget(button, 0, Qt::AlignLeft);
        connect(button, &QPushButton::clicked, this, action);
        return button;
    };
    addButton("Export Config…", "square.and.arrow.up", "exportConfig", [this] { settings_.exportConfig(); });
    addButton("Import Config…", "square.and.arrow.down", "importConfig",
              [this] { settings_.importConfig(); });
    QPushButton* reset = addButton("Reset to Defaults", "arrow.counterclockwise", "resetToDefaults",
                                   [this] { settings_.confirmResetToDefaults(); });
    SettingsText::setColour(*reset, SettingsText::destructive(*reset));
    SettingsText::setSymbol(*reset, "arrow.counterclockwise");
}

} // namespace rondelix
