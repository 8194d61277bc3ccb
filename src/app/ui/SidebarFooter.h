#pragma once

#include "app/FooterPill.h"
#include "app/SteppedFade.h"
#include "platform/MainQueue.h"
#include "util/Signal.h"

#include <QPixmap>
#include <QWidget>
#include <cstddef>
#include <optional>
#include <vector>

class QGraphicsOpacityEffect;
class QPainter;

namespace rondelix {

class AppCoordinator;

// The status pill at the foot of the sidebar: whether the two grants are in
// place and the Shortcuts some system actions need are installed. A click
// leads to where the missing thing is set up; once all is well it turns
// green, fades out and leaves.
class SidebarFooter final : public QWidget {
    Q_OBJECT

  public:
    explicit SidebarFooter(AppCoordinator& coordinator, QWidget* parent = nullptr);
    ~SidebarFooter() override;

    const FooterPill& pill() const { return pill_; }
    double shownOpacity() const;
    QSize sizeHint() const override;

    // What a click does; also on Space or Return while focused.
    void activate();

  protected:
    void paintEvent(QPaintEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void changeEvent(QEvent* event) override;

  private:
    FooterFacts facts() const;
    void refresh();
    QRectF capsule() const;
    void paintPill(QPainter& painter);
    // Shows the fade as it stands now and waits for its next step.
    void showFadeStep();

    // What the image drawn for the fade shows.
    struct FadeImageKey {
        QSize size;
        double devicePixelRatio = 1;
        FooterStatus status = FooterStatus::ready;
        std::size_t missingShortcuts = 0;
        bool focused = false;
        friend bool operator==(const FadeImageKey&, const FadeImageKey&) = default;
    };

    AppCoordinator& coordinator_;
    FooterPill pill_;
    QGraphicsOpacityEffect* opacity_;
    std::optional<SteppedFade> fade_;
    double fadeStart_ = 0;
    platform::ScopedCancel nextFadeStep_;
    QPixmap fadeImage_;
    FadeImageKey fadeImageKey_;
    ScopedConnection coordinatorConnection_;
    ScopedConnection automationsConnection_;
    ScopedConnection configConnection_;
    ScopedConnection accessibilityConnection_;
    ScopedConnection inputMonitoringConnection_;
};

} // namespace rondelix
