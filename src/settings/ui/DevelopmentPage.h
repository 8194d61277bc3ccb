#pragma once

#include "settings/DemoControl.h"
#include "settings/DevelopmentRoulette.h"
#include "settings/DiagnosticsDelivery.h"
#include "settings/ui/SettingsPage.h"
#include "util/Signal.h"

#include <functional>
#include <optional>
#include <string>

class QCheckBox;
class QLabel;
class QPushButton;

namespace rondelix {

namespace platform {
class UserDefaults;
class Workspace;
} // namespace platform

// The hidden Development page: the diagnostics, where updates come from, tools
// for the configuration file and a few experiments. Built anew on each visit.
class DevelopmentPage final : public SettingsPage {
  public:
    struct Services {
        ConfigStore& store;
        platform::UserDefaults& defaults;
        platform::Workspace& workspace;
        DiagnosticsDelivery::Services delivery;
        DiagnosticsDelivery::Sources diagnostics;
        DevelopmentRoulette::Services roulette;
        // None until the demo exists; its button then stays disabled.
        std::optional<DemoControl> demo;
        std::function<void()> resetOnboarding;
        std::function<void()> relock;
    };

    DevelopmentPage(Services services, QWidget* parent);
    ~DevelopmentPage() override;

    DiagnosticsDelivery& delivery() { return delivery_; }
    DevelopmentRoulette& roulette() { return roulette_; }

  private:
    void addDiagnostics();
    void addUpdates();
    void addConfigTools();
    void addExperiments();
    void refreshStates();
    void setTextCaret(bool on);

    Services services_;
    DiagnosticsDelivery delivery_;
    DevelopmentRoulette roulette_;
    QPushButton* copyButton_ = nullptr;
    QPushButton* emailButton_ = nullptr;
    // Where the report lies when no mail program took it.
    QLabel* unsentNote_ = nullptr;
    QLabel* restoreResult_ = nullptr;
    QCheckBox* textCaret_ = nullptr;
    QPushButton* rouletteButton_ = nullptr;
    QLabel* rouletteResult_ = nullptr;
    QPushButton* demoButton_ = nullptr;
    ScopedConnection deliveryConnection_;
    ScopedConnection rouletteConnection_;
    ScopedConnection demoConnection_;
};

} // namespace rondelix
