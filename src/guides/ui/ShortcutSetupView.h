#pragma once

#include "guides/ShortcutSetup.h"
#include "util/Signal.h"

#include <QWidget>
#include <functional>
#include <memory>

class QLabel;
class QPushButton;
class QScrollArea;
class QVBoxLayout;
class QVariantAnimation;

namespace rondelix {

// The System Action Setup window's content: one card per system action that
// needs an automation, with its state and the ways to get it in place.
class ShortcutSetupView final : public QWidget {
    Q_OBJECT

  public:
    struct Actions {
        std::function<void()> openAutomationsFolder;
        std::function<void()> close;
    };

    ShortcutSetupView(ShortcutSetupHost host, std::optional<std::string> highlight, Actions actions,
                      QWidget* parent = nullptr);

    ShortcutSetup& setup() { return *setup_; }

  protected:
    void changeEvent(QEvent* event) override;
    void showEvent(QShowEvent* event) override;

  private:
    void render();
    QWidget* card(const ShortcutSetup::Card& card);

    std::unique_ptr<ShortcutSetup> setup_;
    Actions actions_;
    ScopedConnection connection_;
    QLabel* headerSymbol_ = nullptr;
    QScrollArea* scroll_ = nullptr;
    QVBoxLayout* cardsLayout_ = nullptr;
    QWidget* ownSteps_ = nullptr;
    QLabel* message_ = nullptr;
    QPushButton* recheck_ = nullptr;
    QPushButton* done_ = nullptr;
    // Turns the spinner the re-check button shows while it checks.
    QVariantAnimation* spin_ = nullptr;
};

} // namespace rondelix
