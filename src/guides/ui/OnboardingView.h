#pragma once

#include "guides/OnboardingFlow.h"
#include "util/Signal.h"

#include <QWidget>
#include <functional>
#include <memory>

class QLabel;
class QPushButton;
class QVBoxLayout;

namespace rondelix {

class ProgressDots;

// The onboarding window's content: the welcome, permissions and ready steps
// over a footer of progress dots and navigation, and the celebration over all.
class OnboardingView final : public QWidget {
    Q_OBJECT

  public:
    // The falling confetti of the celebration, made by whoever owns that view.
    using ConfettiFactory = std::function<QWidget*(QWidget* parent)>;

    OnboardingView(OnboardingHost host, OnboardingStep start, ConfettiFactory makeConfetti,
                   QWidget* parent = nullptr);

    OnboardingFlow& flow() { return *flow_; }

  protected:
    void showEvent(QShowEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

  private:
    void render();
    QWidget* welcomeStep();
    QWidget* permissionsStep();
    QWidget* readyStep();
    QWidget* permissionRow(const QString& title, const QString& detail, bool granted);
    void placeCelebration();
    void renderCelebration();

    std::unique_ptr<OnboardingFlow> flow_;
    ScopedConnection connection_;
    bool everShown_ = false;
    QVBoxLayout* contentLayout_ = nullptr;
    QWidget* content_ = nullptr;
    ProgressDots* dots_ = nullptr;
    QPushButton* left_ = nullptr;
    QPushButton* rightSkip_ = nullptr;
    QPushButton* primary_ = nullptr;
    QWidget* celebration_ = nullptr;
    QWidget* confetti_ = nullptr;
    bool celebrationLeaving_ = false;
};

} // namespace rondelix
