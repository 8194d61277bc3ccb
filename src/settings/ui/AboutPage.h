#pragma once

#include "util/LifetimeGuard.h"

#include <QScrollArea>
#include <cstddef>
#include <functional>
#include <memory>
#include <string>

class QLabel;
class QPushButton;

namespace rondelix {

class ProblemCaption;
class SpinningLogoView;

namespace platform {
class MainQueue;
class Pasteboard;
class Workspace;
} // namespace platform

// The About page: the spinning mark, the name and version (which opens the
// release history), the guide and feedback, the support address, what the
// program keeps and needs, and where updates come from. Spinning the mark
// fast enough unlocks the Development page.
class AboutPage final : public QScrollArea {
    Q_OBJECT

  public:
    struct Services {
        platform::MainQueue& queue;
        platform::Pasteboard& pasteboard;
        platform::Workspace& workspace;
        std::function<bool()> devMenuUnlocked;
        std::function<void()> unlockDevMenu;
        std::function<void()> showHowItWorks;
        std::string version;
        std::string systemName;
        // Where the settings are kept, as a person reads it ("~/.config/rondelix").
        std::string settingsFolder;
    };

    static constexpr double copiedSeconds = 2.0;
    static constexpr double toastSeconds = 2.6;

    AboutPage(Services services, QWidget* parent);
    ~AboutPage() override;

    SpinningLogoView& logo() const { return *logo_; }
    bool toastShown() const;

  private:
    void frenzy();
    void copySupportAddress();
    void sendFeedback();
    void showChangelog();

    Services services_;
    SpinningLogoView* logo_;
    ProblemCaption* feedbackProblem_ = nullptr;
    QPushButton* copyLink_ = nullptr;
    QLabel* toast_ = nullptr;
    LifetimeGuard lifetime_;
};

} // namespace rondelix
