#pragma once

#include "app/ui/GlassBackdrop.h"

#include <QWidget>
#include <functional>

namespace rondelix {

// One of the program's side windows (onboarding, system-action setup, the
// how-it-works guide): a fixed 560 × 640 window that can be dragged by its
// background, and that Esc or Ctrl+W closes as its close button would. Their
// content comes from the guides; the window is the shell's. Where the
// compositor blurs nothing, its glass is opaque: these windows are mostly
// text, opened over other windows' text.
class SideWindow final : public QWidget {
    Q_OBJECT

  public:
    static constexpr int contentWidth = 560;
    static constexpr int contentHeight = 640;

    SideWindow(const QString& title, GlassBackdrop::Environment backdrop);

    // Takes the content, replacing any earlier one.
    void setContent(QWidget* content);
    QWidget* content() const { return content_; }
    GlassBackdrop& backdrop() { return backdrop_; }

    // The user closed the window; it is destroyed right after.
    std::function<void()> onUserClose;

  protected:
    void closeEvent(QCloseEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

  private:
    GlassBackdrop backdrop_;
    QWidget* content_ = nullptr;
};

} // namespace rondelix
